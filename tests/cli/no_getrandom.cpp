// Runs a program in a process where getrandom fails with ENOSYS, as on a kernel without it or in a sandbox
// that forbids it: no_getrandom PROGRAM [ARGUMENTS...]
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

namespace {

#if defined(__x86_64__)
constexpr unsigned ThisArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned ThisArchitecture = AUDIT_ARCH_AARCH64;
#elif defined(__i386__)
constexpr unsigned ThisArchitecture = AUDIT_ARCH_I386;
#else
#error "no_getrandom knows the audit architecture of x86-64, AArch64 and i386 only"
#endif

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: no_getrandom PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    // Calls of another architecture's numbering pass untouched; getrandom of this one fails.
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ThisArchitecture, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_getrandom, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(sizeof(filter) / sizeof(filter[0])), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::perror("no_getrandom: seccomp");
        return 127;
    }
    execv(argv[1], argv + 1);
    std::perror("no_getrandom: exec");
    return 127;
}
