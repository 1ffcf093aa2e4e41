#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "KyvVersion.h"
#include "core/help/UserGuide.h"
#include "gui/app/MainCommandTable.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Twips.h"
#include "gui/help/CreditsWindow.h"
#include "gui/help/HelpWindow.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

struct Started {
    test::TestInstallation installation;
    MainWindow window{installation.context};
    Started()
    {
        if (!window.StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
    }
    HelpWindow* Help() const { return window.findChild<HelpWindow*>(QStringLiteral("frmHelp")); }
    QPlainTextEdit* Text() const { return Help()->findChild<QPlainTextEdit*>(QStringLiteral("txbText")); }
    QPushButton* HelpButton(const char* name) const
    {
        return Help()->findChild<QPushButton*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    }
    void RightClick(MainCommand command) const
    {
        QTest::mouseRelease(window.Button(command), Qt::RightButton);
    }
};

// The guide's own text of a topic's section, as a text box reports a selection.
QString SectionText(HelpTopic topic)
{
    const UserGuide& guide = UserGuide::BuiltIn();
    const UserGuide::Selection selection = guide.SelectionAt(topic);
    return guide.Text().mid(selection.start, selection.length).replace(u'\n', QChar::ParagraphSeparator);
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void opensOverTheMainWindowAtEachCommandsSectionSelectedAndF1SelectsItAgain()
    {
        Started started;
        started.RightClick(MainCommand::KeyFrom);
        HelpWindow* help = started.Help();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        const QRect mainFrame = started.window.frameGeometry();
        QCOMPARE(help->pos(), mainFrame.topLeft() + QPoint(Twips(100), Twips(380)));
        QCOMPARE(help->size(), started.window.size() + QSize(-Twips(200), Twips(480)));
        QVERIFY(started.Text()->textCursor().selectedText().startsWith(QStringLiteral("7.  Encryption key")));

        for (int row = 0; row < kMainCommandCount; ++row) {
            const auto command = static_cast<MainCommand>(row);
            const HelpTopic topic = EntryOf(command).help;
            started.RightClick(command);
            QPlainTextEdit* text = started.Text();
            QCOMPARE(text->textCursor().selectedText(), SectionText(topic));
            QCOMPARE(text->textCursor().position(), UserGuide::BuiltIn().SelectionAt(topic).start);
            // The heading is in view.
            QVERIFY(text->cursorRect().top() >= 0 &&
                    text->cursorRect().bottom() <= text->viewport()->height());

            text->moveCursor(QTextCursor::End);
            QTest::keyClick(started.window.Button(command), Qt::Key_F1);
            QCOMPARE(text->textCursor().selectedText(), SectionText(topic));
        }
        QCOMPARE(started.window.findChildren<HelpWindow*>().size(), 1);
    }

    void theHelpButtonPutsTheCaretAtTheStartAndTheLoadingSectionOnlyPlacesIt()
    {
        Started started;
        started.RightClick(MainCommand::Quit);
        QTest::mouseRelease(started.window.Button(MainCommand::Help), Qt::LeftButton);
        QTextCursor cursor = started.Text()->textCursor();
        QVERIFY(!cursor.hasSelection());
        QCOMPARE(cursor.position(), 0);

        started.Help()->ShowAt(HelpTopic::LoadingSetup);
        cursor = started.Text()->textCursor();
        QVERIFY(!cursor.hasSelection());
        QCOMPARE(cursor.position(),
                 UserGuide::BuiltIn().Text().indexOf(UserGuide::Heading(HelpTopic::LoadingSetup)));
    }

    void aResizeBelowTheMinimumSnapsBackAndALargerOneLaysOutTheWindow()
    {
        Started started;
        started.RightClick(MainCommand::DoIt);
        HelpWindow* help = started.Help();
        // The window's measures include its title bar and borders, as the window system frames it;
        // its inside is smaller by these (offscreen there is no frame).
        const QSize frame = help->FrameTwips();
        const QSize smallest(Twips(4000 - frame.width()), Twips(4000 - frame.height()));
        for (const QSize tooSmall :
             {QSize(smallest.width() - 1, 900), QSize(900, smallest.height() - 1), QSize(100, 100)}) {
            help->resize(tooSmall);
            QTRY_COMPARE(help->size(), smallest);
        }
        // At any size the text and both buttons lie inside the window, the buttons on one row below
        // the text, and the text takes up what the window gains.
        QSize textAtSmallest;
        for (const QSize size : {QSize(smallest.width(), 700), QSize(900, 700)}) {
            help->resize(size);
            QTRY_COMPARE(help->size(), size);
            const QRect text = started.Text()->geometry();
            const QRect close = started.HelpButton("cmdClose")->geometry();
            const QRect author = started.HelpButton("cmdCredit")->geometry();
            QVERIFY(help->rect().contains(text) && help->rect().contains(close) &&
                    help->rect().contains(author));
            QCOMPARE(author.top(), close.top());
            QVERIFY(author.right() < close.left());
            QVERIFY(text.bottom() < close.top());
            if (textAtSmallest.isEmpty()) textAtSmallest = text.size();
        }
        QCOMPARE(started.Text()->size() - textAtSmallest, QSize(900 - smallest.width(), 0));
    }

    void aMinimisedWindowComesBackNormalAtTheNewSection()
    {
        Started started;
        started.RightClick(MainCommand::Function);
        HelpWindow* help = started.Help();
        help->showMinimized();
        QTRY_VERIFY(help->isMinimized());
        started.RightClick(MainCommand::ReportScreen);
        QVERIFY(!help->isMinimized());
        QVERIFY(help->isVisible());
        QCOMPARE(started.Text()->textCursor().selectedText(), SectionText(HelpTopic::ReportScreen));
    }

    void closeHidesTheWindowAndAuthorShowsTheCreditsOverIt()
    {
        Started started;
        started.RightClick(MainCommand::Setup);
        HelpWindow* help = started.Help();
        const QPoint place = help->pos();
        QTest::mouseClick(started.HelpButton("cmdCredit"), Qt::LeftButton);
        auto* credits = help->findChild<CreditsWindow*>(QStringLiteral("frmCredits"));
        QVERIFY(credits != nullptr);
        QVERIFY(credits->isVisible());
        QVERIFY(credits->isModal());
        const QRect helpFrame = help->frameGeometry();
        QCOMPARE(credits->pos(),
                 QPoint(helpFrame.left() + (helpFrame.width() - credits->width()) / 2 + Twips(150),
                        helpFrame.top() + (helpFrame.height() - credits->height()) / 2));
        const auto* notice = credits->findChild<QPlainTextEdit*>(QStringLiteral("txbMsg"));
        QVERIFY(notice->toPlainText().contains(QLatin1String(kProgramVersion)));

        QTest::mouseClick(credits->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QVERIFY(!credits->isVisible());
        QVERIFY(help->isVisible());
        QCOMPARE(help->focusWidget(), started.HelpButton("cmdClose"));

        QTest::mouseClick(started.HelpButton("cmdClose"), Qt::LeftButton);
        QVERIFY(!help->isVisible());
        started.RightClick(MainCommand::Quit);
        QVERIFY(help->isVisible());
        QCOMPARE(help->pos(), place);
        QVERIFY(!started.window.ShutDownDone());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "test_HelpWindow.moc"
