// SPDX-License-Identifier: MIT
#pragma once
// Whether this test program is built with the sanitizers (VERASCO_SANITIZE): they reserve a vast
// address space and need file descriptors of their own, so limits on either cannot apply there.

#if defined(__SANITIZE_ADDRESS__)
#define VERASCO_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VERASCO_TEST_SANITIZED 1
#endif
#endif
