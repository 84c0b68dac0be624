// numsieve-script: evaluates the script conditions of the window and of
// numsieve-cli in a process of its own. It reads requests on standard input
// and answers on standard output until its input ends.
#include "core/script/ScriptWorker.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define NUMSIEVE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NUMSIEVE_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef NUMSIEVE_ADDRESS_SANITIZER
// Under AddressSanitizer the address-space ceiling cannot be used, so the
// sanitizer keeps the gigabyte instead: a failed allocation is reported to Qt
// (which ends the worker) rather than as a sanitizer error, and a worker whose
// resident memory passes 1 GiB is ended.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:hard_rss_limit_mb=1024:detect_leaks=0";
}
#endif

int main(int argc, char **argv)
{
#ifdef Q_OS_UNIX
    // The ceiling must be in place before the first script runs: whatever an
    // expression allocates, the allocation fails here and only this process
    // ends. AddressSanitizer reserves terabytes of address space for its
    // shadow memory, so a sanitizer build limits the worker its own way.
#ifndef NUMSIEVE_ADDRESS_SANITIZER
    const rlimit memory{rlim_t(numsieve::kScriptMemoryLimit), rlim_t(numsieve::kScriptMemoryLimit)};
    setrlimit(RLIMIT_AS, &memory);
#endif
    // A dying worker writes no core file.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#endif
#ifdef Q_OS_LINUX
    // A worker busy in a script never reads its closed input; it must not
    // outlive the program that started it.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        return 0;
#endif
    QCoreApplication app(argc, argv);
    return numsieve::serveScriptRequests();
}
