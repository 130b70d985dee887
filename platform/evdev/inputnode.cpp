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

} // namespace

std::optional<InputNode> findScanner(const std::string& node)
{
    const std::string sys = "/sys/class/input/" + node;
    const auto name = readFile(sys + "/device/name");
    const auto keys = readFile(sys + "/device/capabilities/key");
    const auto number = readFile(sys + "/dev");
    unsigned major = 0;
    unsigned minor = 0;
    if (!name || !keys || !number || std::sscanf(number->c_str(), "%u:%u", &major, &minor) != 2
        || !isBarcodeScanner(*name, *keys))
        return std::nullopt;
    return InputNode{"/dev/input/" + node, *name, makedev(major, minor)};
}

int openAndTake(const InputNode& scanner)
{
    const int fd = ::open(scanner.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat status { };
    // Unplugged and its number given to another device since sysfs was read: not ours.
    int error = ENODEV;
    if (::fstat(fd, &status) == 0 && S_ISCHR(status.st_mode) && status.st_rdev == scanner.number) {
        if (::ioctl(fd, EVIOCGRAB, 1) == 0)
            return fd;
        error = errno;
    }
    ::close(fd);
    errno = error;
    return -1;
}

} // namespace platform::evdev
