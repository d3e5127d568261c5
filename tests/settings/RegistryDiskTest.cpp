// The Linux settings file on disk: what a save does to what the folder holds, and the status
// it gives, for every kind of file a user may leave there.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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
const std::string kOther5 =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n";

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

// The five values of `title` that `path` holds, when it reads cleanly and they are all one;
// else ~0.
uint32_t Five(const std::string& path, const char* title = "Brenlow") {
    platform::RegistryFile file;
    const std::string key = std::string("HKEY_CURRENT_USER\\Software\\Veltmark\\") + title;
    const platform::RegistryKey* unit =
        file.Parse(Slurp(path)) ? file.FindKey(key + "\\AIS Unit") : nullptr;
    std::vector<std::vector<uint8_t>> found;
    for (const char* name : kFive) {
        const platform::RegistryValue* v =
            unit != nullptr ? platform::RegistryFile::FindValue(*unit, name) : nullptr;
        found.push_back(v != nullptr ? v->data : std::vector<uint8_t>{});
    }
    const std::vector<uint8_t>& d = found[0];
    return d.size() == 4 && std::count(found.begin(), found.end(), d) == 5
               ? d[0] | d[1] << 8 | d[2] << 16 | uint32_t{d[3]} << 24
               : ~0u;
}

// Latin-1 as UTF-16LE with its byte-order mark, as regedit exports.
std::string Utf16(const std::string& text) {
    std::string out = "\xFF\xFE";
    for (char c : text) {
        (out += c) += '\0';
    }
    return out;
}

// The folder's entries, sorted, each with "@" when it is a symbolic link.
std::string Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string() + (e.is_symlink() ? "@" : ""));
    }
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& name : names) {
        all += name + " ";
    }
    return all;
}

// Runs `body` in a child process and gives what it returned.
long InChild(const std::function<long()>& body) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return kNotArranged;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        const long status = body();
        _exit(write(pipeFds[1], &status, sizeof status) == sizeof status ? 0 : 1);
    }
    close(pipeFds[1]);
    long status = kNotArranged - 1;
    if (read(pipeFds[0], &status, sizeof status) != sizeof status) {
        status = kNotArranged - 1;
    }
    close(pipeFds[0]);
    waitpid(pid, nullptr, 0);
    return status;
}

// A save by a user who does not own the folder: "nobody" when the test runs as root.
long SaveAsOtherUser(uint32_t value) {
    chmod(std::getenv("XDG_CONFIG_HOME"), 0755);
    return InChild(
        [value] { return geteuid() == 0 && setuid(65534) != 0 ? kNotArranged : Save(value); });
}

// A save onto a full 64 KiB file system, in a mount namespace of its own; the original file
// must be left as it was.
long SaveOnFullDisk(uint32_t value) {
    return InChild([value] {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
            mount("tmpfs", Folder().c_str(), "tmpfs", 0, "size=64k") != 0) {
            return kNotArranged;
        }
        Put(File(), kOther);
        Put(Folder() + "/filler", std::string(128 << 10, 'x'));
        const long status = Save(value);
        return Slurp(File()) == kOther && Entries(Folder()) == "filler registry.reg " ? status : -1;
    });
}

// Three programs saving twenty times at once: two as "Brenlow", one as "Other".
long ThreeWriters(uint32_t value) {
    std::vector<pid_t> writers;
    for (uint32_t writer = 0; writer < 3; ++writer) {
        writers.push_back(fork());
        if (writers.back() == 0) {
            long failed = 0;
            for (uint32_t i = 0; i < 20; ++i) {
                failed |= Save(value + 500 * writer + i, writer == 2 ? "Other" : "Brenlow");
            }
            _exit(failed != 0);
        }
    }
    int failures = 0;
    for (pid_t writer : writers) {
        int status = 1;
        waitpid(writer, &status, 0);
        failures += status != 0;
    }
    return failures;
}

struct DiskCase {
    const char* what;
    std::function<void()> arrange;
    std::function<long(uint32_t)> save;
    long status;
    std::function<bool(uint32_t)> holds;  // what the folder holds afterwards, given the value
};

const auto kSave = [](uint32_t value) { return Save(value); };
const auto kUnchanged = [](const std::string& text) {
    return
        [text](uint32_t) { return Slurp(File()) == text && Entries(Folder()) == "registry.reg "; };
};

const DiskCase kCases[] = {
    {"a save, also one nested in another, is one write of one file, at the end", [] {},
     [](uint32_t v) {
         SettingsUpdate outer;
         const long inner = Save(v);
         return fs::exists(File()) ? kNotArranged - 3 : inner | outer.Commit();
     },
     0, [](uint32_t v) { return Five(File()) == v && Entries(Folder()) == "registry.reg "; }},
    {"other keys, values and comments are kept", [] { Put(File(), kOther); }, kSave, 0,
     [](uint32_t v) {
         return Five(File()) == v && Slurp(File()).starts_with(kOther + "\n[HKEY_CURRENT_USER");
     }},
    {"a UTF-16 export stays UTF-16", [] { Put(File(), Utf16(kOther5)); }, kSave, 0,
     [](uint32_t v) { return Five(File()) == v && Slurp(File()).starts_with(Utf16(kOther5)); }},
    {"a UTF-8 mark is kept and is no damage", [] { Put(File(), "\xEF\xBB\xBF" + kOther); },
     [](uint32_t v) { return Save(v - 1) | Save(v); }, 0,
     [](uint32_t v) {
         return Five(File()) == v && Slurp(File()).starts_with("\xEF\xBB\xBF" + kOther) &&
                Entries(Folder()) == "registry.reg ";
     }},
    {"damaged files are kept aside, never overwritten",
     [] {
         Put(File(), "first damage");
         Save(1);
         Put(File(), "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Other]\n\"x\"=hex:01,\\\n");
     },
     kSave, 0,
     [](uint32_t v) {
         return Five(File()) == v && Slurp(File() + ".bad") == "first damage" &&
                Slurp(File() + ".bad.1").ends_with("hex:01,\\\n") &&
                Entries(Folder()) == "registry.reg registry.reg.bad registry.reg.bad.1 ";
     }},
    {"no free name for a damaged copy: not replaced",
     [] {
         for (int i = 0; i < platform::RegistryStorage::kMaxDamagedCopies; ++i) {
             Put(File() + ".bad" + (i > 0 ? "." + std::to_string(i) : ""), "");
         }
         Put(File(), "damage");
     },
     kSave, platform::kRegCannotMake,
     [](uint32_t) { return Slurp(File()) == "damage" && !fs::exists(File() + ".bad.10"); }},
    {"a file too large to read is never replaced",
     [] {
         Put(File(), kOther);
         fs::resize_file(File(), platform::RegistryStorage::kMaxFileSize + 1);
     },
     kSave, platform::kRegFileTooLarge,
     [](uint32_t) {
         return fs::file_size(File()) == platform::RegistryStorage::kMaxFileSize + 1 &&
                Entries(Folder()) == "registry.reg ";
     }},
    {"a FIFO is refused without blocking", [] { mkfifo(File().c_str(), 0600); }, kSave,
     platform::kRegBadFileType, [](uint32_t) { return fs::is_fifo(File()); }},
    {"a folder is refused", [] { fs::create_directory(File()); }, kSave, platform::kRegBadFileType,
     [](uint32_t) { return fs::is_directory(File()); }},
    {"/dev/zero linked as the file is refused", [] { fs::create_symlink("/dev/zero", File()); },
     kSave, platform::kRegBadFileType,
     [](uint32_t) { return fs::read_symlink(File()) == "/dev/zero"; }},
    {"a link into a dotfiles folder is written through and stays a link",
     [] {
         fs::create_directories(Folder() + "/../dotfiles");
         Put(Folder() + "/../dotfiles/brenlow.reg", kOther);
         fs::create_symlink("../dotfiles/brenlow.reg", File());
     },
     kSave, 0,
     [](uint32_t v) {
         const std::string target = Folder() + "/../dotfiles/brenlow.reg";
         return Five(target) == v && Slurp(target).starts_with(kOther) &&
                Entries(Folder()) == "registry.reg@ " &&
                Entries(Folder() + "/../dotfiles") == "brenlow.reg ";
     }},
    {"a link to itself is refused", [] { fs::create_symlink("registry.reg", File()); }, kSave,
     platform::kRegLinkLoop, [](uint32_t) { return fs::is_symlink(File()); }},
    {"a link to a file yet to be made makes it",
     [] { fs::create_symlink("../registry.reg.new", File()); }, kSave, 0,
     [](uint32_t v) {
         return Five(Folder() + "/../registry.reg.new") == v && fs::is_symlink(File());
     }},
    {"a killed writer's temporary file is removed, nothing else",
     [] {
         for (const char* name : {".tmp.Ab3xYz", ".tmp.Ab3xY", ".tmp-Ab3xYz", ".backup"}) {
             Put(File() + name, kOther);
         }
     },
     kSave, 0,
     [](uint32_t v) {
         return Five(File()) == v && Entries(Folder()) ==
                                         "registry.reg registry.reg.backup registry.reg.tmp-Ab3xYz "
                                         "registry.reg.tmp.Ab3xY ";
     }},
    {"a read-only file is left alone; storing what it holds is no failure",
     [] {
         Save(7);
         chmod(File().c_str(), 0444);
     },
     [](uint32_t v) { return Save(7) != 0 ? kNotArranged - 2 : Save(v); },
     platform::kRegAccessDenied, [](uint32_t) { return Five(File()) == 7; }},
    {"a file in place of the folder",
     [] {
         fs::remove(Folder());
         Put(Folder(), kOther);
     },
     kSave, platform::kRegPathNotFound, [](uint32_t) { return Slurp(Folder()) == kOther; }},
    {"a read-only folder",
     [] {
         Put(File(), kOther);
         chmod(File().c_str(), 0666);
         chmod(Folder().c_str(), 0555);
     },
     SaveAsOtherUser, platform::kRegAccessDenied, kUnchanged(kOther)},
    {"a file that cannot be read is never replaced",
     [] {
         Put(File(), kOther);
         chmod(File().c_str(), 0200);
         chmod(Folder().c_str(), 0777);
     },
     SaveAsOtherUser, platform::kRegAccessDenied, kUnchanged(kOther)},
    {"a full disk", [] {}, SaveOnFullDisk, platform::kRegDiskFull, [](uint32_t) { return true; }},
    {"programs saving at once: one program's five, none lost", [] {}, ThreeWriters, 0,
     [](uint32_t v) {
         return (Five(File()) == v + 19 || Five(File()) == v + 519) &&
                Five(File(), "Other") == v + 1019 && Entries(Folder()) == "registry.reg ";
     }},
    {"the folder locked by another program for good: not written, said so",
     [] { Put(File(), kOther); },
     [](uint32_t v) {
         const int held = open(Folder().c_str(), O_RDONLY | O_DIRECTORY);
         const long status = flock(held, LOCK_EX) == 0 ? Save(v) : kNotArranged;
         close(held);
         return status;
     },
     platform::kRegLocked, kUnchanged(kOther)},
};

TEST(RegistryDisk, EverySaveKeepsWhatTheUserHasAndSaysWhyItFailed) {
    uint32_t value = 40;
    for (const DiskCase& c : kCases) {
        RegistrySandbox sandbox;
        ASSERT_TRUE(sandbox.Ready());
        fs::create_directories(Folder());
        c.arrange();
        const long status = c.save(++value);
        if (status == kNotArranged) {
            std::printf("not arranged here (needs root): %s\n", c.what);
            continue;
        }
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_TRUE(c.holds(value)) << c.what << "; the folder holds: " << Entries(Folder());
    }
}

}  // namespace
