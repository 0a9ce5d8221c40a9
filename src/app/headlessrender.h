#pragma once

struct CommandLine;

// One whole run in a window that is never shown, without pacing, then the finished
// picture and the curves' CSV written to the files the command line names. Returns the
// exit status: 0, or 1 when a file cannot be written (the message is on standard error).
int renderHeadless(const CommandLine &line);
