// SPDX-License-Identifier: GPL-3.0-or-later
// windows.h first: the other headers of the system build on it.
#include <windows.h>

#include <bcrypt.h>

#include "platform/Hash.h"

namespace platform {

std::string Sha256Hex(const void* data, size_t size) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return {};
    unsigned char digest[32];
    const NTSTATUS status = ::BCryptHash(algorithm, nullptr, 0, static_cast<PUCHAR>(const_cast<void*>(data)),
                                         static_cast<ULONG>(size), digest, sizeof digest);
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!BCRYPT_SUCCESS(status)) return {};
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest) {
        text += hex[byte >> 4];
        text += hex[byte & 15];
    }
    return text;
}

}  // namespace platform
