// The file dialogs as a person meets them: the real QFileDialog, driven as a user would, with a
// name typed into its name box.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/common/QtFileDialogs.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

struct SeenDialog {
    bool shown = false;
    QString folder;
    bool acceptEnabled = false;
};

// Waits for the modal file dialog, types `name` into its name box, notes what it shows and
// presses its accept button; a dialog that refuses the name is cancelled, so the test goes on.
void TypeIntoNextDialog(const QString& name, SeenDialog& seen)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, &seen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll->stop();
        poll->deleteLater();
        seen.shown = true;
        seen.folder = QDir(dialog->directory()).canonicalPath();
        auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (nameBox == nullptr || buttons == nullptr) {
            dialog->reject();
            return;
        }
        nameBox->setFocus();
        QTest::keyClicks(nameBox, name);
        QPushButton* accept = nullptr;
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                accept = qobject_cast<QPushButton*>(button);
        seen.acceptEnabled = accept != nullptr && accept->isEnabled();
        if (seen.acceptEnabled)
            accept->click();
        else
            dialog->reject();
    });
    poll->start(20);
}

}  // namespace

class QtFileDialogsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;

    QString Folder() const { return QDir(folder_.path()).canonicalPath(); }

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        QFile existing(folder_.filePath(QStringLiteral("existing.key")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("0123456789abcdef0123456789abcdef");
    }

    void aNameThatMayBeNewIsAcceptedWhenTyped_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("new name, may be new") << int(OpenMode::NameMayBeNew) << "new.key" << true;
        QTest::newRow("existing name, may be new") << int(OpenMode::NameMayBeNew) << "existing.key" << true;
        QTest::newRow("existing name, must exist") << int(OpenMode::ExistingFile) << "existing.key" << true;
        QTest::newRow("new name, must exist") << int(OpenMode::ExistingFile) << "new.key" << false;
    }

    void aNameThatMayBeNewIsAcceptedWhenTyped()
    {
        QFETCH(int, mode);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QtFileDialogs dialogs;
        FileDialogRequest request{QStringLiteral("Specify new keyfile"),
                                  QStringLiteral("All files (*.*) | *.*"), QString(), Folder()};
        request.mode = static_cast<OpenMode>(mode);
        SeenDialog seen;
        TypeIntoNextDialog(typed, seen);
        const std::optional<QString> chosen = dialogs.OpenFile(request);
        QVERIFY(seen.shown);
        QCOMPARE(seen.acceptEnabled, accepted);
        if (accepted)
            QCOMPARE(chosen.value_or(QString()), QDir::toNativeSeparators(Folder() + u'/' + typed));
        else
            QVERIFY(!chosen);
    }

    // Each dialog opens in the folder it is given, not in the last one used.
    void eachDialogStartsInTheFolderItIsGiven_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("open") << 0;
        QTest::newRow("open, name may be new") << 1;
        QTest::newRow("save") << 2;
    }

    void eachDialogStartsInTheFolderItIsGiven()
    {
        QFETCH(int, kind);
        QtFileDialogs dialogs;
        FileDialogRequest request{QStringLiteral("Choose"), QStringLiteral("All files (*.*) | *.*"),
                                  QString(), Folder()};
        if (kind == 1) request.mode = OpenMode::NameMayBeNew;
        SeenDialog seen;
        TypeIntoNextDialog(QStringLiteral("existing.key"), seen);
        if (kind == 2)
            (void)dialogs.SaveFile(request);
        else
            (void)dialogs.OpenFile(request);
        QVERIFY(seen.shown);
        QCOMPARE(seen.folder, Folder());
    }
};

QTEST_MAIN(QtFileDialogsTest)
#include "test_QtFileDialogs.moc"
