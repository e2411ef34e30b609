/* The plug-in's functions without WINAPI: the caller pops the arguments. */
int AddListMail(void* list, const char* pattern, const char* folder, int noMark) {
  return list && pattern && folder ? noMark : -1;
}
int DirectoryFCount(const char* pattern) { return pattern ? 1 : 0; }
int RetMaxFName(const char* pattern) { return pattern ? 2 : 0; }
int SendFileToList(void* list, const char* pattern) { return list && pattern ? 3 : 0; }
