#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "KeyTestHelpers.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyPanelController.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

const QString kTypedLine = QStringLiteral("Key specified (keyboard entry, checksum = %1)");

class ScriptedKeyCommands final : public KeyCommands {
public:
    TypedKeyResult KeyboardWithDisplay() override { return Next(); }
    TypedKeyResult KeyboardWithoutDisplay() override { return Next(); }
    void KeyFromKeyfile(KeyfileCommand command) override
    {
        keyfileCommands.push_back(command);
        if (keyfileEffect) keyfileEffect();
    }

    TypedKeyResult Next()
    {
        ++dialogsShown;
        TypedKeyResult result;
        result.answer = answer;
        result.text = test::Secure(text);
        return result;
    }

    TypedKeyAnswer answer = TypedKeyAnswer::Cancel;
    std::string text;
    int dialogsShown = 0;
    std::vector<KeyfileCommand> keyfileCommands;
    std::function<void()> keyfileEffect;
};

// The panel as the controller tells it: the key line shown and the panel's events in order.
class RecordingPanelView final : public KeyPanelView {
public:
    void KeyLineChanged(const QString& line) override { shownLine = line; }
    void PanelOpened() override { events.push_back("opened"); }
    void PanelHidden() override { events.push_back("hidden"); }
    void PanelClosed() override { events.push_back("closed"); }

    QString shownLine;
    std::vector<std::string> events;
};

class KeyPanelControllerTest : public ::testing::Test {
protected:
    KeyPanelControllerTest()
    {
        values_.keyLinePrefix = QStringLiteral("Key specified");
        values_.notSpecifiedText = QStringLiteral("Not specified");
    }

    // Opens the panel over `line` and clicks `button`.
    void Click(KeyPanelButton button, const QString& line)
    {
        shownLine_ = line;
        ASSERT_EQ(controller_.KeyButtonReleased(MouseButton::Left, line), KeyButtonOutcome::PanelOpened);
        EXPECT_TRUE(shownLine_.isEmpty());
        EXPECT_FALSE(controller_.FramesEnabled());
        controller_.ButtonClicked(button);
        EXPECT_TRUE(controller_.FramesEnabled());
        EXPECT_FALSE(controller_.PanelVisible());
    }

    // Installs a typed key the way the dialog with display would.
    int TypeKey(std::string text)
    {
        commands_.answer = TypedKeyAnswer::Yes;
        commands_.text = std::move(text);
        Click(KeyPanelButton::KeyboardWithDisplay, QStringLiteral("Not specified"));
        return keyState_.checksum;
    }

    KeyState keyState_;
    WorkingValues values_;
    OperationSetup setup_;
    test::FakePrompter prompter_;
    ScriptedKeyCommands commands_;
    RecordingPanelView view_;
    KeyPanelController controller_{keyState_, values_, setup_, prompter_, commands_, view_};
    QString& shownLine_ = view_.shownLine;
    std::vector<std::string>& events_ = view_.events;
};

TEST_F(KeyPanelControllerTest, YesInstallsTheTypedKey)
{
    const int checksum = TypeKey("abcd efgh ijkl mnop");
    EXPECT_EQ(test::AsText(keyState_.normalizedKey), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(keyState_.source, KeyboardEntry);
    EXPECT_EQ(checksum, 6304);
    EXPECT_TRUE(keyState_.isText);
    EXPECT_EQ(shownLine_, kTypedLine.arg(6304));
    EXPECT_EQ(events_, (std::vector<std::string>{"opened", "hidden", "closed"}));
}

TEST_F(KeyPanelControllerTest, NoClearsAPreviouslySpecifiedKey)
{
    TypeKey("abcdefghijklmnop");
    commands_.answer = TypedKeyAnswer::No;
    Click(KeyPanelButton::KeyboardWithoutDisplay, shownLine_);
    EXPECT_TRUE(keyState_.normalizedKey.empty());
    EXPECT_EQ(keyState_.source, NotSpecified);
    EXPECT_EQ(shownLine_, QStringLiteral("Not specified"));
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(KeyPanelControllerTest, CancelledDialogLeavesKeyChecksumAndLineAsTheyWere)
{
    TypeKey("abcdefghijklmnop");
    const QString line = shownLine_;
    const SecureBytes digest = keyState_.digest;
    for (const KeyPanelButton dialog :
         {KeyPanelButton::KeyboardWithDisplay, KeyPanelButton::KeyboardWithoutDisplay}) {
        commands_.answer = TypedKeyAnswer::Cancel;
        commands_.text = "zzzzzzzzzzzzzzzzzzzz";
        Click(dialog, line);
        EXPECT_EQ(shownLine_, line);
        EXPECT_EQ(test::AsText(keyState_.normalizedKey), "ABCDEFGHIJKLMNOP");
        EXPECT_EQ(keyState_.checksum, 6304);
        EXPECT_EQ(keyState_.digest, digest);
        EXPECT_EQ(keyState_.source, KeyboardEntry);
    }
}

TEST_F(KeyPanelControllerTest, EraseKeyOverwritesTheKeyAndShowsNotSpecified)
{
    TypeKey("abcdefghijklmnop");
    Click(KeyPanelButton::EraseKey, shownLine_);
    EXPECT_EQ(keyState_.source, NotSpecified);
    EXPECT_EQ(keyState_.normalizedKey, SecureBytes(16));
    EXPECT_EQ(keyState_.digest, SecureBytes(16));
    EXPECT_EQ(shownLine_, QStringLiteral("Not specified"));
}

TEST_F(KeyPanelControllerTest, EraseKeyRightAfterAnAbandonedKeyfileCommandShowsNotSpecified)
{
    TypeKey("abcdefghijklmnop");
    const QString typedLine = shownLine_;
    commands_.keyfileEffect = [this] { keyState_.choiceAbandoned = true; };
    Click(KeyPanelButton::KeyfileGet, typedLine);
    EXPECT_EQ(shownLine_, typedLine);  // the abandoned command restores the earlier line
    EXPECT_EQ(keyState_.source, KeyboardEntry);

    Click(KeyPanelButton::EraseKey, typedLine);
    EXPECT_EQ(shownLine_, QStringLiteral("Not specified"));
    EXPECT_FALSE(keyState_.choiceAbandoned);
}

TEST_F(KeyPanelControllerTest, PanelCancelRestoresTheLineExactlyAndTouchesNothing)
{
    TypeKey("abcdefghijklmnop");
    const QString odd = QStringLiteral("  a line written elsewhere  ");
    Click(KeyPanelButton::DontSpecifyKeyNow, odd);
    EXPECT_EQ(shownLine_, odd);
    EXPECT_EQ(controller_.SavedKeyCaption(), odd);
    EXPECT_EQ(keyState_.source, KeyboardEntry);
    EXPECT_EQ(commands_.dialogsShown, 1);
    EXPECT_TRUE(commands_.keyfileCommands.empty());
}

TEST_F(KeyPanelControllerTest, KeyfileButtonsPassTheirIndex)
{
    setup_.direction = Direction::Encrypt;
    Click(KeyPanelButton::KeyfileGet, QStringLiteral("Not specified"));
    Click(KeyPanelButton::KeyfileCreate, QStringLiteral("Not specified"));
    EXPECT_EQ(commands_.keyfileCommands,
              (std::vector<KeyfileCommand>{KeyfileCommand::GetKey, KeyfileCommand::CreateRandomKey}));
}

TEST_F(KeyPanelControllerTest, DescribingARecordedSourceWithoutKeyReportsTheError)
{
    commands_.keyfileEffect = [this] {
        keyState_.normalizedKey.Clear();
        keyState_.source = Keyfile;
    };
    Click(KeyPanelButton::KeyfileGet, QStringLiteral("Not specified"));
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text, QStringLiteral("Error processing key!"));
    EXPECT_EQ(keyState_.source, NotSpecified);
    EXPECT_EQ(shownLine_, QStringLiteral("Not specified"));
}

TEST_F(KeyPanelControllerTest, PanelHasSixButtonsWhenEncryptingAndFiveWhenDecrypting)
{
    using B = KeyPanelButton;
    setup_.direction = Direction::Encrypt;
    ASSERT_EQ(controller_.KeyButtonReleased(MouseButton::Left, QString()), KeyButtonOutcome::PanelOpened);
    EXPECT_EQ(controller_.PanelRows(),
              (std::vector<B>{B::KeyboardWithDisplay, B::KeyboardWithoutDisplay, B::KeyfileGet,
                              B::KeyfileCreate, B::EraseKey, B::DontSpecifyKeyNow}));
    controller_.ButtonClicked(B::DontSpecifyKeyNow);

    setup_.direction = Direction::Decrypt;
    ASSERT_EQ(controller_.KeyButtonReleased(MouseButton::Left, QString()), KeyButtonOutcome::PanelOpened);
    EXPECT_EQ(controller_.PanelRows(), (std::vector<B>{B::KeyboardWithDisplay, B::KeyboardWithoutDisplay,
                                                       B::KeyfileGet, B::EraseKey, B::DontSpecifyKeyNow}));
}

TEST_F(KeyPanelControllerTest, RightButtonAsksForHelpAndDoesNotOpenThePanel)
{
    EXPECT_EQ(controller_.KeyButtonReleased(MouseButton::Right, QStringLiteral("line")),
              KeyButtonOutcome::HelpRequested);
    EXPECT_FALSE(controller_.PanelVisible());
    EXPECT_TRUE(controller_.FramesEnabled());
    EXPECT_TRUE(events_.empty());
}

TEST_F(KeyPanelControllerTest, IgnoreClicksGuardAndAnOpenPanelIgnoreTheKeyButton)
{
    values_.ignoreClicks = true;
    for (const MouseButton button : {MouseButton::Left, MouseButton::Right})
        EXPECT_EQ(controller_.KeyButtonReleased(button, QStringLiteral("line")), KeyButtonOutcome::Ignored);
    EXPECT_FALSE(controller_.PanelVisible());

    values_.ignoreClicks = false;
    ASSERT_EQ(controller_.KeyButtonReleased(MouseButton::Left, QStringLiteral("line")),
              KeyButtonOutcome::PanelOpened);
    EXPECT_EQ(controller_.KeyButtonReleased(MouseButton::Left, QString()), KeyButtonOutcome::Ignored);
    EXPECT_EQ(controller_.SavedKeyCaption(), QStringLiteral("line"));
}

TEST_F(KeyPanelControllerTest, AFailingCommandStillGivesTheMainWindowItsCommandsBack)
{
    commands_.keyfileEffect = [] { throw std::runtime_error("dialog failed"); };
    ASSERT_EQ(controller_.KeyButtonReleased(MouseButton::Left, QStringLiteral("line")),
              KeyButtonOutcome::PanelOpened);
    EXPECT_THROW(controller_.ButtonClicked(KeyPanelButton::KeyfileGet), std::runtime_error);
    EXPECT_TRUE(controller_.FramesEnabled());
    EXPECT_EQ(events_.back(), "closed");
}

}  // namespace
}  // namespace kyv
