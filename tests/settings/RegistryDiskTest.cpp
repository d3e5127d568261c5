// The Linux settings file on disk: what a save does to what the folder holds, and the status
// it gives, for every kind of file a user may leave there.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/posix/RegistryFile.h"
#include "platform/posix/RegistryStorage.h"
#include "settings/ModuleInfo.h"
#include "settings/SettingsStore.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/Slurp.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr long kNotArranged = -100;  // this machine cannot make the case (not root)
constexpr const char* kFive[] = {"Port Number", "Baud Rate", "Parity", "Data Bits", "Stop Bits"};
const std::string kOther =
    "REGEDIT4\n\n; mine\n[HKEY_CURRENT_USER\\Software\\Other]\n\"x\"=hex:01\n";
const std::string kDamage = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Other]\n\"x\"=hex:01,\\\n";
constexpr auto Folder = &RegistryStorage::FolderPath;
constexpr auto File = &RegistryStorage::FilePath;

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}
void Other() {
    Put(File(), kOther);
}

// Saves five values as SaveSettings does, for the application ModuleInfo::fileTitle.
long Save(uint32_t value) {
    SetRegistryCompanyName("Veltmark");
    SettingsScope scope;
    SettingsUpdate update;
    for (const char* name : kFive)
        WriteDword("AIS Unit", name, value);
    return update.Commit();
}

// What the file holds, to compare before and after: its size alone when large, and -1 (never
// read) when it is no regular file.
std::string Snapshot() {
    std::error_code error;
    const uintmax_t size = fs::file_size(File(), error);
    return size < 1 << 20 ? Slurp(File()) : "size " + std::to_string(size);
}

// The five values of `title` that `path` holds when they are all one, else ~0.
uint32_t Five(const std::string& path, const char* title = "Brenlow") {
    RegistryFile file;
    file.Parse(Slurp(path));
    const RegistryKey* unit =
        file.FindKey(std::string("HKEY_CURRENT_USER\\Software\\Veltmark\\") + title + "\\AIS Unit");
    std::set<std::vector<uint8_t>> found;
    for (const char* name : kFive) {
        const RegistryValue* v = unit != nullptr ? RegistryFile::FindValue(*unit, name) : nullptr;
        found.insert(v != nullptr ? v->data : std::vector<uint8_t>{});
    }
    const std::vector<uint8_t>& d = *found.begin();
    return found.size() == 1 && d.size() == 4 ? d[0] | d[1] << 8 | d[2] << 16 | uint32_t{d[3]} << 24
                                              : ~0u;
}

// The folder's entries in order, each with "@" when it is a symbolic link.
std::string Entries() {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(Folder()))
        names.insert(e.path().filename().string() + (e.is_symlink() ? "@ " : " "));
    return std::accumulate(names.begin(), names.end(), std::string());
}

// Ways to save other than Save, which may find that this machine cannot make the case.
long Nested(uint32_t v) {  // nothing written before the outermost group ends
    SettingsUpdate outer;
    const long inner = Save(v);
    return fs::exists(File()) ? kNotArranged - 2 : inner | outer.Commit();
}
long AsNobody(uint32_t v) {  // "nobody" when the test runs as root; a lone write fails first
    chmod(std::getenv("XDG_CONFIG_HOME"), 0755);
    if (fork() == 0)
        _exit(geteuid() == 0 && setuid(65534) != 0     ? 255
              : WriteDword("AIS Unit", "Baud Rate", v) ? 0
                                                       : static_cast<int>(Save(v)));
    int status = 0;
    wait(&status);
    return WEXITSTATUS(status) == 255 ? kNotArranged : WEXITSTATUS(status);
}
// Twenty saves each, two as "Brenlow", one as "Other"; then one more, of `v`.
long ThreeWriters(uint32_t v) {
    for (uint32_t w = 0; w < 3; ++w) {
        if (fork() == 0) {
            ModuleInfo::fileTitle = w == 2 ? "Other" : "Brenlow";
            long failed = 0;
            for (uint32_t i = 0; i < 20; ++i)
                failed |= Save(v + 500 * w + i);
            _exit(failed != 0);
        }
    }
    int failed = 0;
    for (int status = 0; wait(&status) > 0;)
        failed += status != 0;
    const uint32_t five = Five(File());  // one writer's last, whole
    return (five == v + 19 || five == v + 519) && Five(File(), "Other") == v + 1019
               ? failed | Save(v)
               : -4;
}

struct DiskCase {
    const char* what;
    long status;
    std::function<void()> arrange;  // makes the folder as the user left it
    std::function<long(uint32_t)> save = Save;
    const char* entries = "registry.reg ";  // what the folder holds afterwards; null: not looked at
    std::function<bool()> also = [] { return true; };  // more to look at
};

const DiskCase kCases[] = {
    {"one save, also nested in another, is one write at the end", 0, [] {}, Nested},
    {"other keys, values and comments are kept", 0, Other, Save, "registry.reg ",
     [] { return Slurp(File()).starts_with(kOther + "\n[HKEY_CURRENT_USER"); }},
    {"damaged files are kept aside, never overwritten", 0,
     [] { Put(File(), "first damage"), Save(1), Put(File(), kDamage); }, Save,
     "registry.reg registry.reg.bad registry.reg.bad.1 ",
     [] {
         return Slurp(File() + ".bad") == "first damage" && Slurp(File() + ".bad.1") == kDamage;
     }},
    {"no free name for a damaged copy: not replaced", kRegCannotMake,
     [] {
         Put(File(), "damage");
         for (int i = 0; i < RegistryStorage::kMaxDamagedCopies; ++i)
             Put(File() + ".bad" + (i > 0 ? "." + std::to_string(i) : ""), "");
     },
     Save, nullptr, [] { return !fs::exists(File() + ".bad.10"); }},
    {"a file too large to read is never replaced", kRegFileTooLarge,
     [] { Other(), fs::resize_file(File(), RegistryStorage::kMaxFileSize + 1); }},
    {"a FIFO is refused without blocking", kRegBadFileType, [] { mkfifo(File().c_str(), 0600); }},
    {"a folder is refused", kRegBadFileType, [] { fs::create_directory(File()); }},
    {"a link into a dotfiles folder is written through and stays a link", 0,
     [] { Put(Folder() + "/../my.reg", kOther), fs::create_symlink("../my.reg", File()); }, Save,
     "registry.reg@ ",
     [] { return Slurp(File()).starts_with(kOther) && !fs::exists(Folder() + "/../my.reg.bad"); }},
    {"a killed writer's temporary file is removed, nothing else", 0,
     [] {
         for (const char* name : {".tmp.Ab3xYz", ".tmp.Ab3xY", ".tmp-Ab3xYz", ".backup"})
             Put(File() + name, kOther);
     },
     Save, "registry.reg registry.reg.backup registry.reg.tmp-Ab3xYz registry.reg.tmp.Ab3xY "},
    {"a read-only file is left alone; storing what it holds is no failure", kRegAccessDenied,
     [] { Save(7), chmod(File().c_str(), 0444); }, Save, "registry.reg ",
     [] { return Save(7) == 0 && Five(File()) == 7; }},
    {"a file in place of the folder", kRegPathNotFound,
     [] { fs::remove(Folder()), Put(Folder(), kOther); }, Save, nullptr,
     [] { return Slurp(Folder()) == kOther; }},
    {"a read-only folder", kRegAccessDenied,
     [] { Other(), chmod(File().c_str(), 0666), chmod(Folder().c_str(), 0555); }, AsNobody},
    {"a file that cannot be read is never replaced", kRegAccessDenied,
     [] { Other(), chmod(File().c_str(), 0200), chmod(Folder().c_str(), 0777); }, AsNobody},
    {"programs saving at once: one program's five, none lost", 0, [] {}, ThreeWriters},
    {"the folder locked by another program: not written, said so", kRegLocked,
     [] { Other(), flock(open(Folder().c_str(), O_RDONLY | O_DIRECTORY), LOCK_EX); },  // for good
     Save, "registry.reg ", [] { return !WriteDword("AIS Unit", "Baud Rate", 1); }},
};

TEST(RegistryDisk, EverySaveKeepsWhatTheUserHasAndSaysWhyItFailed) {
    ModuleInfo::fileTitle = "Brenlow";
    uint32_t value = 40;
    for (const DiskCase& c : kCases) {
        SCOPED_TRACE(c.what);
        RegistrySandbox sandbox;
        ASSERT_TRUE(sandbox.Ready());
        fs::create_directories(Folder());
        c.arrange();
        const std::string before = Snapshot();
        const long status = c.save(++value);
        if (status == kNotArranged) {
            std::printf("not arranged here (needs root): %s\n", c.what);
            continue;
        }
        EXPECT_EQ(status, c.status);
        EXPECT_TRUE(c.entries == nullptr || Entries() == c.entries) << Entries();
        // Saved: the five read back. Refused: the file is never replaced.
        EXPECT_EQ(c.status == 0 ? std::to_string(Five(File())) : Snapshot(),
                  c.status == 0 ? std::to_string(value) : before);
        EXPECT_TRUE(c.also());
    }
}

}  // namespace
