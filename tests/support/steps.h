// The steps a test process got through, written where TINTWELL_TEST_STEPS says (the runner of a
// test program, or the checks' helper that starts wintool, names a file per run and reads it when
// the program ends badly): a process that ends before it prints anything still tells how far it
// came. The file is opened before any other static initialiser of the program runs, so a process
// that recorded nothing ended in Wine's start of it, before the first line of ours.
#pragma once

void steps_Record(const char* what, const char* detail = "");
