// Temporary names for in-place work: the first free number after a prefix, exclusive creation of
// that name, and the probe of whether a new file can be created.

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ScratchFolder.h"
#include "engine/filelib/TempNames.h"

namespace kyv::filelib {
namespace {

using test::ScratchFolder;

TEST(NewFilepathExtension, FirstNumberNotTaken)
{
    struct Case {
        const char* name;
        std::vector<std::string> existing;
        long expected;
    };
    const std::vector<Case> cases = {
        {"nothing there", {}, 1},
        {"name1 to name3 exist", {"name1", "name2", "name3"}, 4},
        {"a gap is filled first", {"name1", "name3"}, 2},
        {"name2 alone", {"name2"}, 1},
        {"other names do not count", {"name", "name0", "name01", "names1", "name1.txt"}, 1},
        {"a folder takes a name", {"name1/"}, 2},
        {"a dangling link takes a name", {"name1@"}, 2},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        for (const auto& name : c.existing) {
            if (name.back() == '/') {
                std::filesystem::create_directory(folder / name.substr(0, name.size() - 1));
            } else if (name.back() == '@') {
                std::filesystem::create_symlink(folder / "nowhere", folder / name.substr(0, name.size() - 1));
            } else {
                folder.Write(name, std::string("x"));
            }
        }
        const std::string prefix = (folder / "name").string();
        EXPECT_EQ(NewFilepathExtension(prefix), c.expected) << c.name;
        // Only a look: nothing new appears in the folder.
        EXPECT_EQ(folder.Names().size(), c.existing.size()) << c.name;
    }
}

TEST(NewFilepathExtension, NoNumberForUnusablePrefixes)
{
    ScratchFolder folder;
    EXPECT_EQ(NewFilepathExtension(""), std::nullopt);
    EXPECT_EQ(NewFilepathExtension(test::OverlongPath(folder).string()), std::nullopt);
    const auto file = folder.Write("file", std::string("x"));
    EXPECT_EQ(NewFilepathExtension((file / "name").string()), std::nullopt);
}

TEST(CreateNewFilepathExtension, CreatesTheNameItReturns)
{
    ScratchFolder folder;
    for (const auto* name : {"data.txt1", "data.txt2", "data.txt3"}) {
        folder.Write(name, std::string("taken"));
    }
    const std::string prefix = (folder / "data.txt").string();
    EXPECT_EQ(CreateNewFilepathExtension(prefix), 4);
    EXPECT_TRUE(std::filesystem::is_regular_file(prefix + "4"));
    EXPECT_EQ(std::filesystem::file_size(prefix + "4"), 0U);
    EXPECT_EQ(CreateNewFilepathExtension(prefix), 5);
    EXPECT_EQ(NewFilepathExtension(prefix), 6);
    const auto permissions = std::filesystem::status(prefix + "4").permissions();
    EXPECT_EQ(permissions & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
}

TEST(CreateNewFilepathExtension, NoNumberWhenNothingCanBeCreated)
{
    ScratchFolder folder;
    EXPECT_EQ(CreateNewFilepathExtension(""), std::nullopt);
    EXPECT_EQ(CreateNewFilepathExtension((folder / "missing" / "name").string()), std::nullopt);
    EXPECT_EQ(CreateNewFilepathExtension(test::OverlongPath(folder).string()), std::nullopt);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(CreateNewFilepathExtension, ConcurrentCallersNeverShareAName)
{
    ScratchFolder folder;
    const std::string prefix = (folder / "tmp").string();
    std::mutex guard;
    std::multiset<long> numbers;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 25; ++i) {
                const std::optional<long> n = CreateNewFilepathExtension(prefix);
                const std::lock_guard lock(guard);
                numbers.insert(n.value_or(0));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(numbers.size(), 100U);
    EXPECT_EQ(std::set<long>(numbers.begin(), numbers.end()).size(), 100U);
    EXPECT_EQ(numbers.count(0), 0U);
    EXPECT_EQ(folder.Names().size(), 100U);
}

TEST(NewFileCreatable, ProbesAndLeavesNothingBehind)
{
    ScratchFolder folder;
    const auto existing = folder.Write("existing", std::string("x"));
    std::filesystem::create_directory(folder / "sub");
    struct Case {
        const char* name;
        std::filesystem::path path;
        NewFileCheck expected;
    };
    const std::vector<Case> cases = {
        {"a new name", folder / "new.tmp", NewFileCheck::Creatable},
        {"a new name in a subfolder", folder / "sub" / "new.tmp", NewFileCheck::Creatable},
        {"an existing file", existing, NewFileCheck::Exists},
        {"an existing folder", folder / "sub", NewFileCheck::Exists},
        {"a missing folder", folder / "missing" / "new.tmp", NewFileCheck::CannotCreate},
        {"an empty path", std::filesystem::path(), NewFileCheck::CannotCreate},
        {"an overlong path", test::OverlongPath(folder), NewFileCheck::CannotCreate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NewFileCreatable(c.path), c.expected) << c.name;
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"existing", "sub"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "sub"));
}

}  // namespace
}  // namespace kyv::filelib
