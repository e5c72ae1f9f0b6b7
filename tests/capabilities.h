// A capability of a test run as root set aside for one scope, so that a
// test can meet what an ordinary user meets (an unreadable file, a refused
// lease); given back when the scope ends.
#pragma once

#include <initializer_list>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pidtest {

class WithoutCapabilities {
public:
    WithoutCapabilities(std::initializer_list<int> capabilities)
    {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        for (int capability : capabilities)
            lowered[capability / 32].effective &= ~(1u << (capability % 32));
        syscall(SYS_capset, &header_, lowered);
    }
    ~WithoutCapabilities() { syscall(SYS_capset, &header_, saved_); }
    WithoutCapabilities(const WithoutCapabilities&) = delete;
    WithoutCapabilities& operator=(const WithoutCapabilities&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

} // namespace pidtest
