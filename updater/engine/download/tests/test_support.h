// Older names of the server tests' helpers, kept for the run windows' engine
// test until it uses qx_testsupport itself; each is the library's own.
#pragma once
#include "download_helpers.h"
#include "win32/files.h"
#include "win32/loopback.h"

using ScratchFolder = qxtest::TempFolder;
using qxtest::HttpUrl;
using qxtest::ReadBytes;
using qxtest::ServedFile;
using qxtest::WriteBytes;
inline int EnvPort(const char* name) { return qxtest::ServerPort(name); }
