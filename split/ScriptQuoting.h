// The quoting rules of the rejoin script: a name as cmd reads it in a command, in an echo line, and as sh reads it.
#pragma once

#include "split/ScriptCodePage.h"

#include <string>

// Each function takes a name in the script's character set (codePage's
// Script side), a whole character at a time: the second byte of a
// double-byte character (表 is 95 5C in code page 932) is never taken for the
// ASCII character of its value, and passes unchanged.

// text with every % doubled, so that cmd's expansion, which runs over every
// line (rem lines and quoted text too), gives it back:
//   100% sure.txt     ->  100%% sure.txt
//   50%f off.txt      ->  50%%f off.txt        (not the loop variable %f)
std::string percentsDoubled(const std::string& text, const ScriptCodePage& codePage);

// name between double quotes, percent signs doubled: between quotes cmd acts
// on no character but %.
//   my file.zip       ->  "my file.zip"
//   100% sure.txt     ->  "100%% sure.txt"
std::string cmdQuoted(const std::string& name, const ScriptCodePage& codePage);

// name as one argument of a command (copy, ren, if exist, for): as it is
// when it holds no blank and nothing that cmd splits an argument at or acts
// on, else quoted as cmdQuoted.
//   REPORT.V2.DOC     ->  REPORT.V2.DOC
//   my file.zip       ->  "my file.zip"
//   A&B (1).doc       ->  "A&B (1).doc"
//   a+b,c;d=e         ->  "a+b,c;d=e"         (+ joins files; , ; = split)
//   a<0xFF>b          ->  "a<0xFF>b"          (0xFF, cmd takes it for a blank)
std::string cmdArgument(const std::string& name, const ScriptCodePage& codePage);

// name as words of an echo line, printed as typed: a caret before each
// character that cmd acts on there, percent signs doubled.
//   A&B (1).doc       ->  A^&B ^(1^).doc
//   x^y|z             ->  x^^y^|z
//   100% sure.txt     ->  100%% sure.txt
std::string echoText(const std::string& name, const ScriptCodePage& codePage);

// text as one word of sh, between single quotes, in which sh takes nothing
// for anything but itself; a quote of its own ends the word for an escaped
// one.
//   my file.zip       ->  'my file.zip'
//   it's $(x).txt     ->  'it'\''s $(x).txt'
std::string shWord(const std::string& text);

// name as a user types it at a sh prompt: as it is when nothing in it means
// anything to sh, else as shWord.
//   big.bat           ->  big.bat
//   ./-x y.bat        ->  './-x y.bat'
std::string shTyped(const std::string& name);
