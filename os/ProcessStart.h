#pragma once

// The first call of both programs' main(), before Qt opens anything. Each of descriptors 0, 1 and 2 that is
// closed is opened on /dev/null, so that no file opened later (Qt's own included) takes its number and gets
// what was meant for the stream. Core dumps are turned off: they would hold the passwords made.
void secureProcessStart();

// Whether standard input (0), output (1) or error (2) was closed when secureProcessStart() ran.
bool wasClosedAtStart(int descriptor);
