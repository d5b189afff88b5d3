#!/bin/bash
# Runs COMMAND where Linux hands every 32-bit program to qemu-i386, for
# kernels that run no 32-bit code themselves: a binfmt_misc entry registered
# in a user namespace of its own, so that the host's handlers stay untouched.
# Wine's 32-bit loader must not re-exec itself through its preloader there,
# and needs the guest's address space reserved up front: otherwise qemu lets
# the host's mappings take the fixed address of Wine's shared user data.
#
#   emulate-32bit.sh COMMAND...
set -u
unshare --user --map-root-user --mount bash -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null &&
    echo ":parcelor-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F" \
        > /proc/sys/fs/binfmt_misc/register 2>/dev/null ||
        { echo "FAIL: 32-bit: could not run: this kernel lets no user namespace register qemu-i386 for 32-bit programs"; exit 1; }
    WINELOADERNOEXEC=1 QEMU_RESERVED_VA=0xffff0000 exec "$@"' emulate-32bit "$@"
