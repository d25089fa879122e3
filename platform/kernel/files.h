// Files and directories of the kernel stand-in, on POSIX files. Every path goes
// through ResolvePath ("kernel/path_resolver.h"): a file that is only read may be found
// whatever its letter case, but what is written, created or deleted is the file of the
// exact name given, and only one of the running user's own (root's too): another user's
// file is read as any, but neither written nor deleted (EPERM). Share modes are accepted
// and not enforced; overlapped I/O is not offered (pass NULL). Failures leave the reason
// in errno.
#pragma once

#include <string>

#include "kernel/win_types.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u

#define FILE_ATTRIBUTE_NORMAL 0x00000080u
// The name itself is opened, never what a link there names. Here a link at the name
// fails the open (the file a link stands for cannot be opened as such).
#define FILE_FLAG_OPEN_REPARSE_POINT 0x00200000u

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u

#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu

// Opens regular files only, and never waits on what stands at the name: a folder fails
// with EISDIR, a FIFO, device or socket with ENXIO, so no caller reads, writes or waits
// on one by mistake (a FIFO put in a file's place by another user, say). Opened to
// write, an existing file of another user fails with EPERM (and is not emptied).
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped);
// Without a high word the distance is a signed 32-bit value and the new position must
// fit in 32 bits. Failure: INVALID_SET_FILE_POINTER, the position unchanged.
DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod);
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
// Another user's file (or link, which is not followed) is not deleted: EPERM.
BOOL DeleteFileA(LPCSTR fileName);
// Whether what stands at the name (a link itself, not what it names) is another user's:
// TRUE with that user's id and name (empty when the system knows none); FALSE when
// nothing stands there or it is the running user's own.
BOOL FindAnotherUsersFile(LPCSTR fileName, DWORD* owner, std::string* ownerName);

// Not Windows calls: a folder held open, and the three calls above for a name in it.
// What is reached through the handle stays in that folder however it is renamed or moved
// while it is held (a folder in use cannot be, on Windows). Close it with CloseHandle.
HANDLE OpenFolderA(LPCSTR pathName);
HANDLE CreateFileInFolderA(HANDLE folder, LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                           LPSECURITY_ATTRIBUTES security, DWORD creationDisposition, DWORD flagsAndAttributes);
BOOL DeleteFileInFolderA(HANDLE folder, LPCSTR fileName);
BOOL FindAnotherUsersFileInFolder(HANDLE folder, LPCSTR fileName, DWORD* owner, std::string* ownerName);
// Where the file or held folder now stands; the flags are ignored. Returns as
// GetCurrentDirectoryA does.
DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR filePath, DWORD filePathLength, DWORD flags);

BOOL SetCurrentDirectoryA(LPCSTR pathName);
// Both return the length copied (without the terminator), or the size needed
// (with it) when the buffer is too small, or 0 on failure.
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);
// Makes "<path>/<prefix (3 characters at most)><hex number>.tmp". With unique 0 the
// number is chosen so that the file is new, and the file is created empty.
UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefixString, UINT unique, LPSTR tempFileName);
