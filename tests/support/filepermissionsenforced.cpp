#include "filepermissionsenforced.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned int overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// Thread id 0: the capability sets of the calling thread alone.
bool capabilities(__user_cap_data_struct (&data)[2], bool set)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

} // namespace

FilePermissionsEnforced::FilePermissionsEnforced()
{
    __user_cap_data_struct data[2] = {};
    if (!capabilities(data, false) || !(data[0].effective & overrides))
        return;
    savedEffective = data[0].effective;
    data[0].effective &= ~overrides;
    changed = capabilities(data, true);
}

FilePermissionsEnforced::~FilePermissionsEnforced()
{
    __user_cap_data_struct data[2] = {};
    if (!changed || !capabilities(data, false))
        return;
    data[0].effective = savedEffective;
    capabilities(data, true);
}
