/*
 * Preloaded into 32-bit Wine when it runs under qemu-user. qemu builds a
 * 32-bit x86 guest's signal frame with trap number -1, and Wine reads the
 * trap number to tell a page fault from other faults: every access violation
 * then reaches the program as an illegal instruction that no handler
 * expects (lstrlenA(NULL) is one, which Windows answers with 0). This wraps
 * the SIGSEGV handler Wine installs and, before it runs, fills in the trap
 * number the processor would have given; qemu's error code is already right.
 *
 * A Linux i386 shared object without the C library's headers (the machine
 * has none for i386):
 *   clang --target=i386-linux-gnu -shared -nostdlib -fPIC wine32-traps.c \
 *     /lib/i386-linux-gnu/libc.so.6 -o wine32-traps.so
 */
#define SIGSEGV 11
#define SA_SIGINFO 4
#define SEGV_MAPERR 1
#define SEGV_ACCERR 2
#define TRAP_PROTECTION_FAULT 13
#define TRAP_PAGE_FAULT 14
#define NO_TRAP (-1)
#define RTLD_NEXT ((void*)-1)

typedef void (*SignalHandler)(int, void*, void*);

/* The C library's struct sigaction on i386. */
struct GuestSigaction {
    SignalHandler handler;
    unsigned long mask[32];
    int flags;
    void (*restorer)(void);
};

/* The start of siginfo_t and of ucontext_t's register array on i386. */
struct GuestSiginfo {
    int signo;
    int error;
    int code;
};
enum { GREGS_OFFSET = 20, REG_TRAPNO = 12 };

typedef int (*SigactionFunction)(int, const struct GuestSigaction*, struct GuestSigaction*);
void* dlsym(void* handle, const char* name);

static SignalHandler wineSegvHandler;

static void FillInTrapNumber(int signal, void* info, void* context) {
    int* trapNumber = (int*)((char*)context + GREGS_OFFSET) + REG_TRAPNO;
    int code = ((const struct GuestSiginfo*)info)->code;
    if (*trapNumber == NO_TRAP)
        *trapNumber = code == SEGV_MAPERR || code == SEGV_ACCERR ? TRAP_PAGE_FAULT : TRAP_PROTECTION_FAULT;
    wineSegvHandler(signal, info, context);
}

int sigaction(int signal, const struct GuestSigaction* action, struct GuestSigaction* old) {
    static SigactionFunction next;
    struct GuestSigaction wrapped;
    if (!next) next = (SigactionFunction)dlsym(RTLD_NEXT, "sigaction");
    if (signal != SIGSEGV || !action || !(action->flags & SA_SIGINFO) || action->handler == FillInTrapNumber)
        return next(signal, action, old);
    wrapped = *action;
    wineSegvHandler = action->handler;
    wrapped.handler = FillInTrapNumber;
    return next(signal, &wrapped, old);
}
