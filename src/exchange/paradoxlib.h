// pxlib's header, which declares its C functions without C linkage.
#pragma once

#include <cstdio>

extern "C" {
#include <paradox.h>

// Exported by pxlib but not declared in its header: the checksum a protected
// table keeps of its password.
unsigned long px_passwd_checksum(const char *password);
}
