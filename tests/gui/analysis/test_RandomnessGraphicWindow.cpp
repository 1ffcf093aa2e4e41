#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "core/analysis/ProgressBarText.h"
#include "core/files/FolderFixture.h"
#include "gui/analysis/BytePairView.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"

using namespace kyv;
using namespace kyv::gui;
using State = RandomnessGraphicWindow::State;

namespace {

QString Text(const QWidget& window, const char* name)
{
    if (auto* label = window.findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
    if (auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name))) return button->text();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

int WhitePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) == 255 ? 1 : 0;
    return count;
}

RandomnessGraphicText TextFor(qint64 length)
{
    return {QStringLiteral("Input file: file.bin"), QStringLiteral("Filesize = x"),
            QStringLiteral("Randomness = y"), length};
}

}  // namespace

class FrmGraphicTest : public QObject {
    Q_OBJECT
private:
    test::FolderFixture folder_;
    test::FakePrompter prompter_;
    test::FakeFileDialogs dialogs_;

    // A 16 GiB sparse file of zeros: its drawing is still going when the test presses Stop.
    QString HugeFile()
    {
        const qint64 size = qint64{16} << 30;
        const QString file = folder_.MakeFile(QStringLiteral("huge.bin"), size);
        return QFileInfo(file).size() == size ? file : QString();
    }

private slots:
    // Display to the end, save the picture shown, Close.
    void displayThenTheEndThenSaveThenClose()
    {
        const QString file = folder_.MakeFile(QStringLiteral("equal.bin"), QByteArray("AB").repeated(500));
        RandomnessGraphicWindow window(prompter_, dialogs_);
        window.Prepare(TextFor(1000), platform::FilePath(file));
        window.show();
        QCOMPARE(window.DrawingState(), State::Ready);
        QCOMPARE(Text(window, "cmdDisplay"), QStringLiteral("Display"));
        QCOMPARE(Text(window, "lblProgressBar"), QString());

        window.DisplayPressed();
        QCOMPARE(window.DrawingState(), State::Drawing);
        QCOMPARE(Text(window, "cmdDisplay"), QStringLiteral("Stop"));
        QTRY_COMPARE_WITH_TIMEOUT(Text(window, "cmdDisplay"), QStringLiteral("Close"), 30000);
        QCOMPARE(window.DrawingState(), State::Finished);
        QCOMPARE(Text(window, "lblProgressBar"), ProgressBarText(kProgressBarCells));
        // 500 equal pairs: one white dot, at column 'A' and row 'B', shown and saved.
        const QString png = folder_.PathOf(QStringLiteral("equal.png"));
        dialogs_.Choose(png);
        window.SavePicture();
        QCOMPARE(dialogs_.requests.back().request.fileName, QStringLiteral("equal.png"));
        for (const QImage& image : {window.View().Image(), QImage(png)}) {
            QCOMPARE(image.size(), QSize(256, 256));
            QCOMPARE(WhitePixels(image), 1);
            QCOMPARE(qGray(image.pixel('A', 'B')), 255);
        }

        window.DisplayPressed();
        QVERIFY(!window.isVisible());
        QVERIFY(prompter_.messages.empty());
    }

    void stoppingKeepsTheDotsDrawn_data()
    {
        QTest::addColumn<bool>("byTitleBar");
        QTest::newRow("Stop") << false;
        QTest::newRow("closed from the title bar") << true;
    }

    void stoppingKeepsTheDotsDrawn()
    {
        QFETCH(bool, byTitleBar);
        const QString file = HugeFile();
        if (file.isEmpty()) QSKIP("the temporary folder cannot hold a sparse 16 GiB file");
        RandomnessGraphicWindow window(prompter_, dialogs_);
        window.Prepare(TextFor(QFileInfo(file).size()), platform::FilePath(file));
        window.show();
        window.DisplayPressed();
        QCOMPARE(Text(window, "cmdDisplay"), QStringLiteral("Stop"));
        QCOMPARE(Text(window, "lblProgressBar"), ProgressBarText(0));
        // A clock tick shows the dots drawn so far while the drawing goes on.
        QTRY_COMPARE_WITH_TIMEOUT(qGray(window.View().Image().pixel(0, 0)), 255, 30000);
        QCOMPARE(window.DrawingState(), State::Drawing);
        if (byTitleBar) {
            window.close();
            QVERIFY(!window.isVisible());
        } else {
            window.DisplayPressed();
            QCOMPARE(Text(window, "cmdDisplay"), QStringLiteral("Close"));
        }
        QCOMPARE(window.DrawingState(), State::Finished);
        // The dots drawn stay once the worker has ended; the bar is not filled.
        auto* save = window.findChild<QPushButton*>(QStringLiteral("cmdSavePicture"));
        QTRY_VERIFY_WITH_TIMEOUT(save->isEnabled(), 30000);
        QCOMPARE(WhitePixels(window.View().Image()), 1);
        QVERIFY(Text(window, "lblProgressBar") != ProgressBarText(kProgressBarCells));
        if (!byTitleBar) window.DisplayPressed();
        QVERIFY(!window.isVisible());

        // Shown again for another file, the window starts afresh.
        const QString small = folder_.MakeFile(QStringLiteral("small.bin"), QByteArray(600, 'B'));
        window.Prepare(TextFor(600), platform::FilePath(small));
        window.show();
        QCOMPARE(window.DrawingState(), State::Ready);
        QCOMPARE(WhitePixels(window.View().Image()), 0);
        QCOMPARE(Text(window, "lblProgressBar"), QString());
    }

    void aFileThatShrankEndsWithTheReadErrorAndKeepsStop()
    {
        // Measured at 1000 bytes, cut to 501 before it is drawn: its 250 pairs and nothing after.
        QByteArray content(1000, 'C');
        content[0] = 'D';
        const QString file = folder_.MakeFile(QStringLiteral("shrinks.bin"), content);
        RandomnessGraphicWindow window(prompter_, dialogs_);
        window.Prepare(TextFor(1000), platform::FilePath(file));
        window.show();
        QVERIFY(QFile::resize(file, 501));
        window.DisplayPressed();
        QTRY_COMPARE_WITH_TIMEOUT(prompter_.messages.size(), std::size_t(1), 30000);
        QCOMPARE(prompter_.messages[0].text, QStringLiteral("Error reading file!"));
        QCOMPARE(prompter_.messages[0].title, QStringLiteral("Randomness report"));
        QCOMPARE(prompter_.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(window.DrawingState(), State::Drawing);
        QCOMPARE(Text(window, "cmdDisplay"), QStringLiteral("Stop"));
        const QImage& image = window.View().Image();
        QCOMPARE(WhitePixels(image), 2);
        QCOMPARE(qGray(image.pixel('D', 'C')), 255);
        QCOMPARE(qGray(image.pixel('C', 'C')), 255);

        window.DisplayPressed();
        QCOMPARE(Text(window, "cmdDisplay"), QStringLiteral("Close"));
        window.DisplayPressed();
        QVERIFY(!window.isVisible());
        prompter_.messages.clear();
    }
};

QTEST_MAIN(FrmGraphicTest)
#include "test_RandomnessGraphicWindow.moc"
