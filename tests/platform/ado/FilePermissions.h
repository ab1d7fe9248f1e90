#pragma once
// Read-only files and folders as a user meets them, also when the tests run as root: root's
// capability to override file permissions is dropped for the calling thread while a
// TPermissionsApply lives, and given back after.
#include <QFile>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class TPermissionsApply {
public:
    TPermissionsApply()
    {
        if (syscall(SYS_capget, &FHeader, FSaved) != 0)
            return;
        __user_cap_data_struct dropped[2] = {FSaved[0], FSaved[1]};
        dropped[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        FDropped = syscall(SYS_capset, &FHeader, dropped) == 0;
    }
    ~TPermissionsApply()
    {
        if (FDropped)
            syscall(SYS_capset, &FHeader, FSaved);
    }
    TPermissionsApply(const TPermissionsApply&) = delete;
    TPermissionsApply& operator=(const TPermissionsApply&) = delete;

private:
    __user_cap_header_struct FHeader{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct FSaved[2]{};
    bool FDropped = false;
};

// Takes the write permissions off a file or folder while it lives.
class TWriteProtected {
public:
    explicit TWriteProtected(const QString& Path) : FPath(Path), FPermissions(QFile::permissions(Path))
    {
        QFile::setPermissions(FPath, FPermissions & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup
                                                      | QFile::WriteOther));
    }
    ~TWriteProtected() { QFile::setPermissions(FPath, FPermissions); }
    TWriteProtected(const TWriteProtected&) = delete;
    TWriteProtected& operator=(const TWriteProtected&) = delete;

private:
    QString FPath;
    QFile::Permissions FPermissions;
};
