// SPDX-License-Identifier: MIT
#include "platform/evdev/inputnode.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/evdev/scannerfilter.h"

namespace platform::evdev {

namespace {

std::optional<std::string> readFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// What the open descriptor says of its device; false when it is not the scanner asked for.
bool isThatScanner(int fd, const InputNode& scanner)
{
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode) || status.st_rdev != scanner.number)
        return false;
    char name[256] = {};
    unsigned char keys[KeyBits().size() / 8] = {};
    const int named = ::ioctl(fd, EVIOCGNAME(sizeof name - 1), name);
    const int keyed = ::ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys);
    return named >= 0 && keyed >= 0 && isBarcodeScanner(name, keyBitsFromBytes(keys, std::size_t(keyed)));
}

} // namespace

std::optional<KeyBits> keysDown(int fd)
{
    unsigned char down[KeyBits().size() / 8] = {};
    const int got = ::ioctl(fd, EVIOCGKEY(sizeof down), down);
    return got < 0 ? std::nullopt : std::optional(keyBitsFromBytes(down, std::size_t(got)));
}

std::optional<InputNode> findScanner(
    const std::string& node, const std::string& devDir, const std::string& sysClassInput)
{
    const std::string sys = sysClassInput + "/" + node;
    const auto name = readFile(sys + "/device/name");
    const auto bitmap = readFile(sys + "/device/capabilities/key");
    const auto number = readFile(sys + "/dev");
    const auto keys = bitmap ? keyBitsFromSysfs(*bitmap) : std::nullopt;
    unsigned major = 0;
    unsigned minor = 0;
    if (!name || !keys || !number || std::sscanf(number->c_str(), "%u:%u", &major, &minor) != 2
        || !isBarcodeScanner(*name, *keys))
        return std::nullopt;
    return InputNode{devDir + "/" + node, *name, makedev(major, minor)};
}

int openAndTake(const InputNode& scanner)
{
    const int fd = ::open(scanner.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    int error = ENODEV;
    if (isThatScanner(fd, scanner)) {
        error = EAGAIN;
        if (const auto down = keysDown(fd); down && down->none()) {
            if (::ioctl(fd, EVIOCGRAB, 1) == 0)
                return fd;
            error = errno;
        }
    }
    ::close(fd);
    errno = error;
    return -1;
}

int accessError(const InputNode& scanner)
{
    return ::access(scanner.path.c_str(), R_OK) == 0 ? 0 : errno;
}

} // namespace platform::evdev
