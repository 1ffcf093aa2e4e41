#include "KyvRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <random>

#include "support/Sanitizers.h"

namespace kyv::test {

namespace {

QProcessEnvironment KyvEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    return environment;
}

}  // namespace

void StartKyv(QProcess& process, const QStringList& arguments, const QByteArray& input)
{
    process.setProcessEnvironment(KyvEnvironment());
    process.start(QStringLiteral(KYV_CLI_PATH), arguments);
    process.waitForStarted();
    if (!input.isEmpty()) process.write(input);
    process.closeWriteChannel();
}

namespace {

// Waits for kyv (two minutes at most) and collects what it printed; a run killed by a signal has exit
// code -1. Under strace, which ends as its tracee did, a code over 128 also means a signal.
KyvRun FinishedRun(QProcess& process, bool traced)
{
    KyvRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("kyv did not finish");
        return run;
    }
    const bool killed = process.exitStatus() != QProcess::NormalExit || (traced && process.exitCode() > 128);
    run.exitCode = killed ? -1 : process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    // AddressSanitizer's runtime says once that it follows the engine's switch to its guarded stack
    // only in part; that line is the runtime's, not the program's.
    if (kUnderAddressSanitizer)
        run.err.remove(QRegularExpression(
            QStringLiteral("^==\\d+==WARNING: ASan doesn't fully support makecontext/swapcontext[^\n]*\n"),
            QRegularExpression::MultilineOption));
    return run;
}

}  // namespace

KyvRun RunKyv(const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    StartKyv(process, arguments, input);
    return FinishedRun(process, false);
}

KyvRun RunKyvPrepared(const std::function<void()>& inChild, const QStringList& arguments,
                      const QByteArray& input)
{
    QProcess process;
    process.setChildProcessModifier(inChild);
    StartKyv(process, arguments, input);
    return FinishedRun(process, false);
}

void StartKyvInjected(QProcess& process, const QString& injection, const QStringList& arguments,
                      const QByteArray& input)
{
    QProcessEnvironment environment = KyvEnvironment();
    // ThreadSanitizer's runtime makes and unlinks a file in $TMPDIR before main, which would take
    // the first of the calls an injection counts; with no such folder it makes none.
    if (kUnderThreadSanitizer)
        environment.insert(QStringLiteral("TMPDIR"), QStringLiteral("/nonexistent-kyv-test-folder"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("strace"),
                  QStringList{QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"),
                              QStringLiteral("/dev/null"), QStringLiteral("-e"),
                              QStringLiteral("inject=") + injection, QStringLiteral(KYV_CLI_PATH)} +
                      arguments);
    process.waitForStarted();
    if (!input.isEmpty()) process.write(input);
    process.closeWriteChannel();
}

KyvRun FinishInjectedKyv(QProcess& process) { return FinishedRun(process, true); }

KyvRun RunKyvInjected(const QString& injection, const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    StartKyvInjected(process, injection, arguments, input);
    return FinishedRun(process, true);
}

QString WhyNoInjection()
{
    QProcess probe;
    probe.start(
        QStringLiteral("strace"),
        {QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("-e"),
         QStringLiteral("inject=getpid:error=EIO"), QStringLiteral("/bin/true")});
    if (!probe.waitForStarted())
        return QStringLiteral("strace is not installed (scripts/install-deps.sh installs it)");
    probe.waitForFinished(20000);
    if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return QStringLiteral("this system does not let strace trace a process: ") +
               QString::fromUtf8(probe.readAllStandardError()).trimmed();
    return QString();
}

Scratch::Scratch() = default;

QString Scratch::Path(const QString& relative) const { return QDir(dir_.path()).filePath(relative); }

QString Scratch::Folder(const QString& relative) const
{
    const QString path = QDir::cleanPath(relative.isEmpty() ? dir_.path() : Path(relative));
    return QFileInfo(path).absoluteFilePath() + QLatin1Char('/');
}

QString Scratch::Write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

void Scratch::MakeFolder(const QString& relative) const { QDir().mkpath(Path(relative)); }

QByteArray Scratch::Read(const QString& relative) const
{
    QFile file(Path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray PlainText(int size)
{
    const QByteArray sentence = "The report of the committee was read and approved without comment. ";
    QByteArray text;
    while (text.size() < size) text += sentence;
    return text.left(size);
}

QByteArray RandomBytes(int size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(byte(generator));
    return bytes;
}

QStringList ReportLinesWithoutDate(const QString& out)
{
    QStringList lines = out.split(QLatin1Char('\n'));
    // The report ends with a line break, so the last element is empty; before it, the date line.
    static const QRegularExpression kDateLine(QStringLiteral("^\\d{1,2}/\\d{1,2}/\\d{2}, \\d{2}:\\d{2}$"));
    if (lines.size() >= 2 && lines.last().isEmpty() && kDateLine.match(lines.at(lines.size() - 2)).hasMatch())
        lines = lines.mid(0, lines.size() - 2);
    return lines;
}

}  // namespace kyv::test
