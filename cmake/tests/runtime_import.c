/* Calls into libwinpthread-1.dll, a runtime that Windows does not provide. */
#include <pthread.h>

__declspec(dllexport) int ThreadToken(void) { return (int)(pthread_self() != 0); }
