#pragma once
// Runs the real `kyv` on temporary folders and reads what it wrote.

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kyv::test {

struct KyvRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs kyv with `arguments`, feeding `input` to its standard input (then closing it). The locale
// is "C", so numbers are grouped the way the program groups them for US English.
KyvRun RunKyv(const QStringList& arguments, const QByteArray& input = QByteArray());

// Runs kyv under strace with `injection` (as for `strace -e inject=...`), so that a system call
// fails or the process is killed at an exact point. The exit code is -1 when kyv was killed.
KyvRun RunKyvInjected(const QString& injection, const QStringList& arguments,
                      const QByteArray& input = QByteArray());
// Why no system call can be made to fail here (no strace, or the system refuses to trace); empty
// when it can.
QString WhyNoInjection();

// Starts kyv without waiting for it (for Ctrl-C).
void StartKyv(QProcess& process, const QStringList& arguments, const QByteArray& input);

// A scratch folder with helpers to fill it.
class Scratch {
public:
    Scratch();
    // Path of `relative` inside the folder.
    [[nodiscard]] QString Path(const QString& relative) const;
    // The folder as kyv names it in reports: absolute, ending in one separator.
    [[nodiscard]] QString Folder(const QString& relative = QString()) const;
    // Writes `bytes` to `relative`, making folders as needed; returns the path.
    QString Write(const QString& relative, const QByteArray& bytes) const;
    void MakeFolder(const QString& relative) const;
    [[nodiscard]] QByteArray Read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// Text whose randomness is low: a sentence repeated up to `size` bytes.
QByteArray PlainText(int size);
// Bytes that measure as random, from a fixed seed.
QByteArray RandomBytes(int size, unsigned seed);

// The report lines of standard output without the closing date line ("12/8/26, 01:05").
QStringList ReportLinesWithoutDate(const QString& out);

}  // namespace kyv::test
