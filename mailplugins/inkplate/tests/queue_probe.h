// What the private PDF queue of the test fixture holds, read through a small
// Linux script (Wine starts Linux programs given by their Z: path).
#pragma once

#include <string>
#include <vector>

struct QueueReport {
  bool ok = false;         // the report arrived
  int jobs = -1;           // every job the queue took so far
  int pending = -1;        // jobs not finished after waiting
  std::string pdf;         // newest PDF file, empty if none
  std::vector<std::vector<std::string>> pages;  // non-blank text lines per page
};

// Empty unless the test runs with the print queue fixture.
std::string QueueDir();

// Waits for the queue to finish its jobs, then reports.
QueueReport ReadQueue();

// "Z:" form of a Linux path.
std::string WinePath(const std::string& unixPath);
