// The launcher's result codes and the texts that explain a failed launch.
#pragma once

#include <cstdint>
#include <string>

// A result of the shell's open or of a program start: above 32, taken as
// unsigned, is success; 0 to 32 are failure codes.
using LaunchCode = std::int32_t;

// The message-box type of a launch failure (MB_ICONEXCLAMATION, OK only).
inline constexpr unsigned LaunchErrorBoxType = 48;

// Whether code, compared as an unsigned number, is above 32. Every caller
// judges a launch with this one test, so a code that is negative as signed
// counts as success everywhere.
bool IsLaunchSuccess(LaunchCode code);

// A platform result of pointer width (ShellExecuteA's) as a LaunchCode: 0 to
// 32 stay; a success keeps its value when it fits 32 bits and becomes 33
// otherwise, so that narrowing never turns a success into a failure code.
LaunchCode LaunchCodeFrom(std::uint64_t raw);

// The text that explains failure code: the platform's meaning of 0, 2, 3, 5,
// 8, 11 and 26 to 32, and "Unknown Error (<code>) occurred." with the code in
// signed decimal for every other value.
std::string LaunchErrorText(LaunchCode code);

// The whole message of a failed launch: "Can't open link:", an empty line,
// then the text of code.
std::string LaunchErrorMessage(LaunchCode code);
