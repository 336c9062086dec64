// Runs a program in a process where opening an unnamed temporary file (O_TMPFILE) fails with EOPNOTSUPP, as
// on file systems that lack it (NFS, CIFS, exFAT): no_tmpfile PROGRAM [ARGUMENTS...]
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: no_tmpfile PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    // O_TMPFILE includes O_DIRECTORY, which opening any folder uses too.
    constexpr unsigned TmpfileFlag = O_TMPFILE & ~O_DIRECTORY;
    // openat's flags are its third argument, the low half of which is read here (little-endian machines).
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, TmpfileFlag, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(sizeof(filter) / sizeof(filter[0])), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::perror("no_tmpfile: seccomp");
        return 127;
    }
    execv(argv[1], argv + 1);
    std::perror("no_tmpfile: exec");
    return 127;
}
