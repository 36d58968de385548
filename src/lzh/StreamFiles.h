// Binds the decoder's byte streams to Win32: the coded input and decoded
// output files, the thread's message queue, GetTickCount and the gauge.
#pragma once

#include <windows.h>

// The files the streams read and write during one decode.
extern HANDLE StreamInputFile;
extern HANDLE StreamOutputFile;

void BindStreamsToWin32();
