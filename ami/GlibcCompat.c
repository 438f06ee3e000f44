/*
** GlibcCompat.c: the four C-library symbols that the statically linked C++
** runtime and unwinder would otherwise import from a recent glibc.
**
** Simulators run on enterprise Linux releases whose glibc may be as old as
** 2.17. The static libstdc++ and libgcc_eh of the build machine reference
** _dl_find_object (2.35), pthread_once and __pthread_key_create (2.34) and
** __libc_single_threaded (2.32); a library importing those refuses to load
** there. Each is defined here instead, hidden, so the runtime's own
** references bind to these definitions and the library imports only symbols
** that glibc 2.17 already had (dl_iterate_phdr, sched_yield).
**
** Linked into the Linux model libraries only.
*/
#define _GNU_SOURCE 1
#include <dlfcn.h>
#include <errno.h>
#include <link.h>
#include <pthread.h>
#include <sched.h>
#include <stdint.h>
#include <string.h>

#define COMPAT_HIDDEN __attribute__((visibility("hidden")))

/* libstdc++ skips atomic reference counting when this is non-zero. Zero
** always takes the atomic path, which is correct whether or not the host
** runs threads. */
COMPAT_HIDDEN char __libc_single_threaded = 0;

/* The unwinder takes the address of __pthread_key_create only to learn
** whether threads may exist; being defined says yes, so it locks its tables
** and initialises them once (through pthread_once below). It never creates
** a key itself. */
COMPAT_HIDDEN int __pthread_key_create(pthread_key_t *key, void (*destructor)(void *)){
  (void)key;
  (void)destructor;
  return EAGAIN;
}

/* One-time initialisation: 0 untouched, 1 running, 2 done. The unwinder's
** initialiser is short and cannot fail, so waiters simply yield. */
COMPAT_HIDDEN int pthread_once(pthread_once_t *once, void (*init)(void)){
  int *state = (int *)once;
  int expected = 0;
  if( __atomic_load_n(state, __ATOMIC_ACQUIRE)==2 ) return 0;
  if( __atomic_compare_exchange_n(state, &expected, 1, 0, __ATOMIC_ACQ_REL,
                                  __ATOMIC_ACQUIRE) ){
    init();
    __atomic_store_n(state, 2, __ATOMIC_RELEASE);
    return 0;
  }
  while( __atomic_load_n(state, __ATOMIC_ACQUIRE)!=2 ) sched_yield();
  return 0;
}

/* _dl_find_object through dl_iterate_phdr: the loaded object whose segments
** hold the address, with its exception-frame header and (on 32-bit x86) the
** base for data-relative pointers, which is the object's GOT as the
** dynamic section gives it. */
typedef struct FindState {
  uintptr_t pc;
  struct dl_find_object *out;
  int found;
} FindState;

static int compatHolds(const struct dl_phdr_info *info, uintptr_t pc,
                       uintptr_t *lo, uintptr_t *hi){
  int i, holds = 0;
  *lo = UINTPTR_MAX;
  *hi = 0;
  for(i=0; i<info->dlpi_phnum; i++){
    const ElfW(Phdr) *ph = &info->dlpi_phdr[i];
    uintptr_t start = info->dlpi_addr + ph->p_vaddr;
    if( ph->p_type!=PT_LOAD ) continue;
    if( start<*lo ) *lo = start;
    if( start + ph->p_memsz>*hi ) *hi = start + ph->p_memsz;
    if( pc>=start && pc<start + ph->p_memsz ) holds = 1;
  }
  return holds;
}

static int compatVisit(struct dl_phdr_info *info, size_t size, void *data){
  FindState *st = (FindState *)data;
  uintptr_t lo, hi;
  int i;
  (void)size;
  if( !compatHolds(info, st->pc, &lo, &hi) ) return 0;
  memset(st->out, 0, sizeof(*st->out));
  st->out->dlfo_map_start = (void *)lo;
  st->out->dlfo_map_end = (void *)hi;
  for(i=0; i<info->dlpi_phnum; i++){
    const ElfW(Phdr) *ph = &info->dlpi_phdr[i];
    if( ph->p_type==PT_GNU_EH_FRAME ){
      st->out->dlfo_eh_frame = (void *)(info->dlpi_addr + ph->p_vaddr);
    }
#if DLFO_STRUCT_HAS_EH_DBASE
    if( ph->p_type==PT_DYNAMIC ){
      const ElfW(Dyn) *dyn = (const ElfW(Dyn) *)(info->dlpi_addr + ph->p_vaddr);
      for(; dyn->d_tag!=DT_NULL; dyn++){
        if( dyn->d_tag==DT_PLTGOT ) st->out->dlfo_eh_dbase = (void *)dyn->d_un.d_ptr;
      }
    }
#endif
  }
  st->found = 1;
  return 1;
}

COMPAT_HIDDEN int _dl_find_object(void *address, struct dl_find_object *result){
  FindState st;
  st.pc = (uintptr_t)address;
  st.out = result;
  st.found = 0;
  dl_iterate_phdr(compatVisit, &st);
  return st.found ? 0 : -1;
}
