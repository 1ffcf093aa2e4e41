#pragma once
// The randomness report's listing over the folder walk: one line per matching file with its
// randomness, the mark of a file that seems encrypted or compressed, its lower-cased name and its
// size, folder by folder.

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/FilePath.h"

namespace kyv {

class BatchProgressMeter;
class Prompter;
class ReportSink;
struct WorkingValues;

// How random a file is (0 to 1), or an error code of -11 or below. The program measures with
// kyv::filelib::FileRandomness.
using RandomnessMeasure = std::function<double(const std::filesystem::path& file, std::int64_t minimumSize)>;

struct RandomnessListingContext {
    ReportSink& report;
    Prompter& prompter;
    // fileListCount is written folder by folder.
    WorkingValues& values;
    bool includeSubfolders = false;
    // Empty: the file library's measure.
    RandomnessMeasure measure;
    // Counts the files whose line reached the report. May be null.
    int* filesListed = nullptr;
    // Told each listed file's size, for the progress of the whole listing. May be null.
    BatchProgressMeter* progress = nullptr;
};

// The sizes of the files the listing of `folder` will measure, added up before it starts.
[[nodiscard]] std::uint64_t RandomnessListingBytes(const platform::FilePath& folder, const QString& fileSpec,
                                                   bool includeSubfolders);

// Lists `folder` and, with includeSubfolders, every lower folder depth-first; each real folder is
// listed once even when links lead to it again. Ends at a stop request. A failure (a folder that
// cannot be read, a file that vanished, a full report) is shown in an "Error" box, then the
// report's buffer-full handling runs and a stop is requested.
void ListFolderRandomness(const platform::FilePath& folder, const QString& fileSpec,
                          const RandomnessListingContext& context);

}  // namespace kyv
