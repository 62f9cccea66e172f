// pxlib's header, which declares its C functions without C linkage.
#pragma once

#include <cstdio>

extern "C" {
#include <paradox.h>

// Exported by pxlib but not declared in its header: the checksum a protected
// table keeps of its password, the cipher of the blob file's blocks of such
// a table (size a multiple of 256), and that of its data blocks (blockNo:
// the block's number, from 1).
unsigned long px_passwd_checksum(const char *password);
void px_decrypt_db_block(unsigned char *src, unsigned char *dest, unsigned long encryption, unsigned long size,
                         unsigned long blockNo);
void px_decrypt_mb_block(unsigned char *src, unsigned char *dest, unsigned long encryption, unsigned long size);
void px_encrypt_mb_block(unsigned char *src, unsigned char *dest, unsigned long encryption, unsigned long size);
}
