#include <gtest/gtest.h>

#include <functional>

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

class KeyPanelControllerTest : public ::testing::Test {
protected:
    KeyPanelControllerTest()
    {
        values.keyLinePrefix = QStringLiteral("Key specified");
        values.notSpecifiedText = QStringLiteral("Not specified");
        controller.onKeyLineChanged = [this](const QString& line) { shownLine = line; };
        controller.onPanelOpened = [this] { events.push_back("opened"); };
        controller.onPanelHidden = [this] { events.push_back("hidden"); };
        controller.onPanelClosed = [this] { events.push_back("closed"); };
    }

    // Opens the panel over `line` and clicks `button`.
    void Click(KeyPanelButton button, const QString& line)
    {
        shownLine = line;
        ASSERT_EQ(controller.KeyButtonReleased(MouseButton::Left, line), KeyButtonOutcome::PanelOpened);
        EXPECT_TRUE(shownLine.isEmpty());
        EXPECT_FALSE(controller.FramesEnabled());
        controller.ButtonClicked(button);
        EXPECT_TRUE(controller.FramesEnabled());
        EXPECT_FALSE(controller.PanelVisible());
    }

    // Installs a typed key the way the dialog with display would.
    int TypeKey(std::string text)
    {
        commands.answer = TypedKeyAnswer::Yes;
        commands.text = std::move(text);
        Click(KeyPanelButton::KeyboardWithDisplay, QStringLiteral("Not specified"));
        return keyState.checksum;
    }

    KeyState keyState;
    WorkingValues values;
    OperationSetup setup;
    test::FakePrompter prompter;
    ScriptedKeyCommands commands;
    KeyPanelController controller{keyState, values, setup, prompter, commands};
    QString shownLine;
    std::vector<std::string> events;
};

TEST_F(KeyPanelControllerTest, YesInstallsTheTypedKey)
{
    const int checksum = TypeKey("abcd efgh ijkl mnop");
    EXPECT_EQ(test::AsText(keyState.normalizedKey), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(keyState.source, KeyboardEntry);
    EXPECT_EQ(checksum, 6304);
    EXPECT_TRUE(keyState.isText);
    EXPECT_EQ(shownLine, kTypedLine.arg(6304));
    EXPECT_EQ(events, (std::vector<std::string>{"opened", "hidden", "closed"}));
}

TEST_F(KeyPanelControllerTest, NoClearsAPreviouslySpecifiedKey)
{
    TypeKey("abcdefghijklmnop");
    commands.answer = TypedKeyAnswer::No;
    Click(KeyPanelButton::KeyboardWithoutDisplay, shownLine);
    EXPECT_TRUE(keyState.normalizedKey.empty());
    EXPECT_EQ(keyState.source, NotSpecified);
    EXPECT_EQ(shownLine, QStringLiteral("Not specified"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(KeyPanelControllerTest, CancelledDialogLeavesKeyChecksumAndLineAsTheyWere)
{
    TypeKey("abcdefghijklmnop");
    const QString line = shownLine;
    const SecureBytes digest = keyState.digest;
    for (const KeyPanelButton dialog :
         {KeyPanelButton::KeyboardWithDisplay, KeyPanelButton::KeyboardWithoutDisplay}) {
        commands.answer = TypedKeyAnswer::Cancel;
        commands.text = "zzzzzzzzzzzzzzzzzzzz";
        Click(dialog, line);
        EXPECT_EQ(shownLine, line);
        EXPECT_EQ(test::AsText(keyState.normalizedKey), "ABCDEFGHIJKLMNOP");
        EXPECT_EQ(keyState.checksum, 6304);
        EXPECT_EQ(keyState.digest, digest);
        EXPECT_EQ(keyState.source, KeyboardEntry);
    }
}

TEST_F(KeyPanelControllerTest, EraseKeyOverwritesTheKeyAndShowsNotSpecified)
{
    TypeKey("abcdefghijklmnop");
    Click(KeyPanelButton::EraseKey, shownLine);
    EXPECT_EQ(keyState.source, NotSpecified);
    EXPECT_EQ(keyState.normalizedKey, SecureBytes(16));
    EXPECT_EQ(keyState.digest, SecureBytes(16));
    EXPECT_EQ(shownLine, QStringLiteral("Not specified"));
}

TEST_F(KeyPanelControllerTest, EraseKeyRightAfterAnAbandonedKeyfileCommandShowsNotSpecified)
{
    TypeKey("abcdefghijklmnop");
    const QString typedLine = shownLine;
    commands.keyfileEffect = [this] { keyState.choiceAbandoned = true; };
    Click(KeyPanelButton::KeyfileGet, typedLine);
    EXPECT_EQ(shownLine, typedLine);  // the abandoned command restores the earlier line
    EXPECT_EQ(keyState.source, KeyboardEntry);

    Click(KeyPanelButton::EraseKey, typedLine);
    EXPECT_EQ(shownLine, QStringLiteral("Not specified"));
    EXPECT_FALSE(keyState.choiceAbandoned);
}

TEST_F(KeyPanelControllerTest, PanelCancelRestoresTheLineExactlyAndTouchesNothing)
{
    TypeKey("abcdefghijklmnop");
    const QString odd = QStringLiteral("  a line written elsewhere  ");
    Click(KeyPanelButton::DontSpecifyKeyNow, odd);
    EXPECT_EQ(shownLine, odd);
    EXPECT_EQ(controller.SavedKeyCaption(), odd);
    EXPECT_EQ(keyState.source, KeyboardEntry);
    EXPECT_EQ(commands.dialogsShown, 1);
    EXPECT_TRUE(commands.keyfileCommands.empty());
}

TEST_F(KeyPanelControllerTest, KeyfileButtonsPassTheirIndex)
{
    setup.direction = Direction::Encrypt;
    Click(KeyPanelButton::KeyfileGet, QStringLiteral("Not specified"));
    Click(KeyPanelButton::KeyfileCreate, QStringLiteral("Not specified"));
    EXPECT_EQ(commands.keyfileCommands, (std::vector<KeyfileCommand>{KeyfileCommand::GetKey, KeyfileCommand::CreateRandomKey}));
}

TEST_F(KeyPanelControllerTest, DescribingARecordedSourceWithoutKeyReportsTheError)
{
    commands.keyfileEffect = [this] {
        keyState.normalizedKey.Clear();
        keyState.source = Keyfile;
    };
    Click(KeyPanelButton::KeyfileGet, QStringLiteral("Not specified"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Error processing key!"));
    EXPECT_EQ(keyState.source, NotSpecified);
    EXPECT_EQ(shownLine, QStringLiteral("Not specified"));
}

TEST_F(KeyPanelControllerTest, PanelHasSixButtonsWhenEncryptingAndFiveWhenDecrypting)
{
    using B = KeyPanelButton;
    setup.direction = Direction::Encrypt;
    ASSERT_EQ(controller.KeyButtonReleased(MouseButton::Left, QString()), KeyButtonOutcome::PanelOpened);
    EXPECT_EQ(controller.PanelRows(),
              (std::vector<B>{B::KeyboardWithDisplay, B::KeyboardWithoutDisplay, B::KeyfileGet,
                              B::KeyfileCreate, B::EraseKey, B::DontSpecifyKeyNow}));
    controller.ButtonClicked(B::DontSpecifyKeyNow);

    setup.direction = Direction::Decrypt;
    ASSERT_EQ(controller.KeyButtonReleased(MouseButton::Left, QString()), KeyButtonOutcome::PanelOpened);
    EXPECT_EQ(controller.PanelRows(), (std::vector<B>{B::KeyboardWithDisplay, B::KeyboardWithoutDisplay,
                                                      B::KeyfileGet, B::EraseKey, B::DontSpecifyKeyNow}));
}

TEST_F(KeyPanelControllerTest, RightButtonAsksForHelpAndDoesNotOpenThePanel)
{
    EXPECT_EQ(controller.KeyButtonReleased(MouseButton::Right, QStringLiteral("line")),
              KeyButtonOutcome::HelpRequested);
    EXPECT_FALSE(controller.PanelVisible());
    EXPECT_TRUE(controller.FramesEnabled());
    EXPECT_TRUE(events.empty());
}

TEST_F(KeyPanelControllerTest, IgnoreClicksGuardAndAnOpenPanelIgnoreTheKeyButton)
{
    values.ignoreClicks = true;
    for (const MouseButton button : {MouseButton::Left, MouseButton::Right})
        EXPECT_EQ(controller.KeyButtonReleased(button, QStringLiteral("line")), KeyButtonOutcome::Ignored);
    EXPECT_FALSE(controller.PanelVisible());

    values.ignoreClicks = false;
    ASSERT_EQ(controller.KeyButtonReleased(MouseButton::Left, QStringLiteral("line")),
              KeyButtonOutcome::PanelOpened);
    EXPECT_EQ(controller.KeyButtonReleased(MouseButton::Left, QString()), KeyButtonOutcome::Ignored);
    EXPECT_EQ(controller.SavedKeyCaption(), QStringLiteral("line"));
}

TEST_F(KeyPanelControllerTest, AFailingCommandStillGivesTheMainWindowItsCommandsBack)
{
    commands.keyfileEffect = [] { throw std::runtime_error("dialog failed"); };
    ASSERT_EQ(controller.KeyButtonReleased(MouseButton::Left, QStringLiteral("line")),
              KeyButtonOutcome::PanelOpened);
    EXPECT_THROW(controller.ButtonClicked(KeyPanelButton::KeyfileGet), std::runtime_error);
    EXPECT_TRUE(controller.FramesEnabled());
    EXPECT_EQ(events.back(), "closed");
}

}  // namespace
}  // namespace kyv
