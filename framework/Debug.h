// ASSERT: in debug builds, a broken precondition is reported with its source file and line.
#pragma once

// Names the source file (without folder or extension), the line and the
// condition, to the debugger and in a message box, then returns: the caller
// goes on as a release build would.
void ReportFailedAssertion(const char* file, int line, const char* condition);

#ifndef NDEBUG
#define ASSERT(condition) ((condition) ? (void)0 : ReportFailedAssertion(__FILE__, __LINE__, #condition))
#else
#define ASSERT(condition) ((void)0)
#endif
