#pragma once
// Folders and scripted measures for the main-window logic tests.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <memory>

#include "core/analysis/RandomnessMeasurer.h"
#include "core/app/MainWindowModel.h"
#include "support/FakePrompter.h"

namespace kyv::test {

// A temporary folder whose path ends in one separator.
struct TempFolder {
    QTemporaryDir dir;
    QString Path() const { return dir.path() + u'/'; }
    QString File(const QString& name, qint64 size) const
    {
        QFile file(Path() + name);
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(static_cast<qsizetype>(size), 'x'));
        return file.fileName();
    }
    QString Folder(const QString& name) const
    {
        QDir().mkpath(Path() + name);
        return Path() + name + u'/';
    }
};

// Answers every request at once with the next scripted value (or the last one), recording paths.
class ScriptedMeasurer final : public RandomnessMeasurer {
public:
    explicit ScriptedMeasurer(std::deque<double>* values, QStringList* paths) : values_(values), paths_(paths)
    {
    }
    void Request(const platform::FilePath& path, qint64, Done done) override
    {
        paths_->append(path.Text());
        const double value = values_->empty() ? 0.5 : values_->front();
        if (values_->size() > 1) values_->pop_front();
        done(value);
    }
    void Cancel() override {}

private:
    std::deque<double>* values_;
    QStringList* paths_;
};

// A model over its own setup, with "Not specified" for empty values and scripted measures.
struct ModelFixture {
    OperationSetup setup;
    WorkingValues values;
    FakePrompter prompter;
    std::deque<double> measures{0.5};
    QStringList measuredPaths;
    platform::FloppyFolders floppies;
    MainWindowModel model{setup, values, prompter, floppies};

    ModelFixture()
    {
        values.notSpecifiedText = QStringLiteral("Not specified");
        model.SetRandomnessMeasurer(std::make_unique<ScriptedMeasurer>(&measures, &measuredPaths));
        // The state after a first start: encrypt, not in place, no subfolders.
        model.ApplySetupFlags(true, false, false);
        model.RefreshFilesStatus();
    }
};

}  // namespace kyv::test
