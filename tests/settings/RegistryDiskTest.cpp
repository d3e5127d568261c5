// The Linux settings file on disk: what a save does to what the folder holds, and the status
// it gives, for every kind of file a user may leave there.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/posix/RegistryFile.h"
#include "platform/posix/RegistryStorage.h"
#include "settings/ModuleInfo.h"
#include "settings/SettingsStore.h"
#include "tests/support/RegistrySandbox.h"

namespace {

namespace fs = std::filesystem;

constexpr long kNotArranged = -100;  // this machine cannot make the case (not root)
constexpr const char* kFive[] = {"Port Number", "Baud Rate", "Parity", "Data Bits", "Stop Bits"};
const std::string kOther =
    "REGEDIT4\n\n; mine\n[HKEY_CURRENT_USER\\Software\\Other]\n\"x\"=hex:01\n";

std::string Folder() {
    return platform::RegistryStorage::FolderPath();
}
std::string File() {
    return platform::RegistryStorage::FilePath();
}

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}
std::string Slurp(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Saves five values as SaveSettings does, for the application `title`.
long Save(uint32_t value, const char* title = "Brenlow") {
    SetRegistryCompanyName("Veltmark");
    ModuleInfo::fileTitle = title;
    SettingsScope scope;
    SettingsUpdate update;
    for (const char* name : kFive) {
        WriteDword("AIS Unit", name, value);
    }
    return update.Commit();
}

// What the file holds, to compare before and after: its size alone when large.
std::string Snapshot() {
    std::error_code error;
    if (!fs::is_regular_file(File(), error)) {
        return "no regular file";
    }
    const uintmax_t size = fs::file_size(File());
    return size < 1 << 20 ? Slurp(File()) : "size " + std::to_string(size);
}

// The five values of `title` that `path` holds when they are all one, else ~0.
uint32_t Five(const std::string& path, const char* title = "Brenlow") {
    platform::RegistryFile file;
    file.Parse(Slurp(path));
    const platform::RegistryKey* unit =
        file.FindKey(std::string("HKEY_CURRENT_USER\\Software\\Veltmark\\") + title + "\\AIS Unit");
    std::set<std::vector<uint8_t>> found;
    for (const char* name : kFive) {
        const platform::RegistryValue* v =
            unit != nullptr ? platform::RegistryFile::FindValue(*unit, name) : nullptr;
        found.insert(v != nullptr ? v->data : std::vector<uint8_t>{});
    }
    const std::vector<uint8_t>& d = *found.begin();
    return found.size() == 1 && d.size() == 4 ? d[0] | d[1] << 8 | d[2] << 16 | uint32_t{d[3]} << 24
                                              : ~0u;
}

// The folder's entries in order, each with "@" when it is a symbolic link.
std::string Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        names.insert(e.path().filename().string() + (e.is_symlink() ? "@" : ""));
    }
    std::string all;
    for (const std::string& name : names) {
        all += name + " ";
    }
    return all;
}

// How a case saves.
enum class Way { Save, Nested, Device, OtherUser, ThreeWriters, Locked };

long SaveThe(Way way, uint32_t v) {
    switch (way) {
        case Way::Save:
            return Save(v);
        case Way::Nested: {  // nothing written before the outermost group ends
            SettingsUpdate outer;
            const long inner = Save(v);
            return fs::exists(File()) ? kNotArranged - 2 : inner | outer.Commit();
        }
        case Way::Device:  // /dev/zero made here: a faulty build must not replace the real one
            return mknod(File().c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0 ? Save(v)
                                                                             : kNotArranged;
        case Way::OtherUser: {  // "nobody" when the test runs as root
            chmod(std::getenv("XDG_CONFIG_HOME"), 0755);
            const pid_t child = fork();
            if (child == 0) {
                _exit(geteuid() == 0 && setuid(65534) != 0 ? 255 : static_cast<int>(Save(v)));
            }
            int status = 0;
            waitpid(child, &status, 0);
            return WEXITSTATUS(status) == 255 ? kNotArranged : WEXITSTATUS(status);
        }
        case Way::ThreeWriters: {  // twenty saves each: two as "Brenlow", one as "Other"
            for (uint32_t w = 0; w < 3; ++w) {
                if (fork() == 0) {
                    long failed = 0;
                    for (uint32_t i = 0; i < 20; ++i) {
                        failed |= Save(v + 500 * w + i, w == 2 ? "Other" : "Brenlow");
                    }
                    _exit(failed != 0);
                }
            }
            int failed = 0;
            for (int status = 0; wait(&status) > 0;) {
                failed += status != 0;
            }
            const uint32_t five = Five(File());
            const bool whole = five == v + 19 || five == v + 519;
            return whole && Five(File(), "Other") == v + 1019 ? failed : -4;
        }
        case Way::Locked: {  // by another program, for good
            const int held = open(Folder().c_str(), O_RDONLY | O_DIRECTORY);
            const long status = flock(held, LOCK_EX) == 0 ? Save(v) : kNotArranged;
            close(held);
            return status;
        }
    }
    return kNotArranged;
}

struct DiskCase {
    const char* what;
    std::string text;  // what registry.reg holds first; empty: no file
    std::function<void()> arrange;
    Way way;
    long status;
    const char* entries;                 // what the folder holds afterwards; null: not looked at
    std::function<bool(uint32_t)> also;  // more to look at; null: nothing
};

const std::string kDamage = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Other]\n\"x\"=hex:01,\\\n";

const DiskCase kCases[] = {
    {"one save, also nested in another, is one write at the end", "", [] {}, Way::Nested, 0,
     "registry.reg ", nullptr},
    {"other keys, values and comments are kept", kOther, [] {}, Way::Save, 0, "registry.reg ",
     [](uint32_t) { return Slurp(File()).starts_with(kOther + "\n[HKEY_CURRENT_USER"); }},
    {"damaged files are kept aside, never overwritten", "first damage",
     [] { Save(1), Put(File(), kDamage); }, Way::Save, 0,
     "registry.reg registry.reg.bad registry.reg.bad.1 ",
     [](uint32_t) {
         return Slurp(File() + ".bad") == "first damage" && Slurp(File() + ".bad.1") == kDamage;
     }},
    {"no free name for a damaged copy: not replaced", "damage",
     [] {
         for (int i = 0; i < platform::RegistryStorage::kMaxDamagedCopies; ++i) {
             Put(File() + ".bad" + (i > 0 ? "." + std::to_string(i) : ""), "");
         }
     },
     Way::Save, platform::kRegCannotMake, nullptr,
     [](uint32_t) { return !fs::exists(File() + ".bad.10"); }},
    {"a file too large to read is never replaced", kOther,
     [] { fs::resize_file(File(), platform::RegistryStorage::kMaxFileSize + 1); }, Way::Save,
     platform::kRegFileTooLarge, "registry.reg ", nullptr},
    {"a FIFO is refused without blocking", "", [] { mkfifo(File().c_str(), 0600); }, Way::Save,
     platform::kRegBadFileType, "registry.reg ", nullptr},
    {"a folder is refused", "", [] { fs::create_directory(File()); }, Way::Save,
     platform::kRegBadFileType, "registry.reg ", nullptr},
    {"a device is refused", "", [] {}, Way::Device, platform::kRegBadFileType, "registry.reg ",
     nullptr},
    {"a link into a dotfiles folder is written through and stays a link", "",
     [] {
         Put(Folder() + "/../brenlow.reg", kOther);
         fs::create_symlink("../brenlow.reg", File());
     },
     Way::Save, 0, "registry.reg@ ",
     [](uint32_t) {
         return Slurp(File()).starts_with(kOther) && !fs::exists(Folder() + "/../brenlow.reg.bad");
     }},
    {"a killed writer's temporary file is removed, nothing else", "",
     [] {
         for (const char* name : {".tmp.Ab3xYz", ".tmp.Ab3xY", ".tmp-Ab3xYz", ".backup"}) {
             Put(File() + name, kOther);
         }
     },
     Way::Save, 0,
     "registry.reg registry.reg.backup registry.reg.tmp-Ab3xYz registry.reg.tmp.Ab3xY ", nullptr},
    {"a read-only file is left alone; storing what it holds is no failure", "",
     [] { Save(7), chmod(File().c_str(), 0444); }, Way::Save, platform::kRegAccessDenied,
     "registry.reg ", [](uint32_t) { return Save(7) == 0 && Five(File()) == 7; }},
    {"a file in place of the folder", "", [] { fs::remove(Folder()), Put(Folder(), kOther); },
     Way::Save, platform::kRegPathNotFound, nullptr,
     [](uint32_t) { return Slurp(Folder()) == kOther; }},
    {"a read-only folder", kOther,
     [] { chmod(File().c_str(), 0666), chmod(Folder().c_str(), 0555); }, Way::OtherUser,
     platform::kRegAccessDenied, "registry.reg ", nullptr},
    {"a file that cannot be read is never replaced", kOther,
     [] { chmod(File().c_str(), 0200), chmod(Folder().c_str(), 0777); }, Way::OtherUser,
     platform::kRegAccessDenied, "registry.reg ", nullptr},
    {"programs saving at once: one program's five, none lost", "", [] {}, Way::ThreeWriters, 0,
     "registry.reg ", nullptr},
    {"the folder locked: not written, said so", kOther, [] {}, Way::Locked, platform::kRegLocked,
     "registry.reg ", nullptr},
};

TEST(RegistryDisk, EverySaveKeepsWhatTheUserHasAndSaysWhyItFailed) {
    uint32_t value = 40;
    for (const DiskCase& c : kCases) {
        RegistrySandbox sandbox;
        ASSERT_TRUE(sandbox.Ready());
        fs::create_directories(Folder());
        if (!c.text.empty()) {
            Put(File(), c.text);
        }
        c.arrange();
        const std::string before = Snapshot();
        const long status = SaveThe(c.way, ++value);
        if (status == kNotArranged) {
            std::printf("not arranged here (needs root): %s\n", c.what);
            continue;
        }
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_TRUE(c.entries == nullptr || Entries(Folder()) == c.entries)
            << c.what << "; the folder holds: " << Entries(Folder());
        if (c.status == 0 && c.way != Way::ThreeWriters) {
            EXPECT_EQ(Five(File()), value) << c.what;
        } else if (c.status != 0) {
            EXPECT_EQ(Snapshot(), before) << c.what << ": never replaced";
        }
        EXPECT_TRUE(c.also == nullptr || c.also(value)) << c.what;
    }
}

}  // namespace
