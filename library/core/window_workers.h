// Workers of the start-up, shut-down and window entry points.
#pragma once

int InitLibraryBody();
int EndLibraryBody();
int ProcessMessageBody();
int ChangeWindowModeBody(int windowed);
int SetWindowTitleBody(const char* text);
int SetRunWhileInactiveBody(int flag);
int GetLocalDateTimeBody(int out[6]);
