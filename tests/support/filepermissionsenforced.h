#pragma once

// While it lives, the calling thread is held to file modes even when it runs
// as root: it gives up the capabilities that override them, and takes them
// back at the end. A process that has no such capability is not changed.
class FilePermissionsEnforced
{
public:
    FilePermissionsEnforced();
    ~FilePermissionsEnforced();
    FilePermissionsEnforced(const FilePermissionsEnforced &) = delete;
    FilePermissionsEnforced &operator=(const FilePermissionsEnforced &) = delete;

private:
    unsigned int savedEffective = 0;
    bool changed = false;
};
