// Opening MUA archives and reading their members through the archive's own file.
#include <cstring>

#include "core/archive_reader.h"
#include "core/log.h"
#include "core/mua_lz.h"
#include "core/plain_file.h"
#include "core/tracked_alloc.h"

namespace {

// Reads and unscrambles bytes at an absolute archive offset; returns the bytes read.
std::uint32_t ReadArchiveBytes(ArchiveState* state, std::uint32_t at, void* buffer, std::uint32_t length) {
  if (PlainFileTell(state->file) != at && PlainFileSeek(state->file, at, 0) < 0) return 0;
  const auto read = static_cast<std::uint32_t>(PlainFileRead(buffer, 1, length, state->file));
  UnscrambleArchiveBytes(read, static_cast<std::uint8_t*>(buffer), at, state->key);
  return read;
}

bool ReadHeader(ArchiveState* state) {
  std::uint8_t bytes[kArchiveHeaderSize];
  if (ReadArchiveBytes(state, 0, bytes, sizeof bytes) != sizeof bytes) return false;
  ParseArchiveHeader(bytes, &state->header);
  return state->header.magic == kArchiveMagic;
}

std::uint32_t MemberDataOffset(const ArchiveMemberStream* stream) {
  return stream->archive->header.dataOffset + LoadLe32(stream->entry + kFileEntryDataOffset);
}

// Reads the whole compressed block and decodes it into a new block of the member's
// size; the block's header must agree with the entry before anything is allocated for it.
std::uint8_t* DecompressMember(ArchiveMemberStream* stream) {
  ArchiveState* state = stream->archive;
  const std::uint32_t size = ArchiveEntrySize(stream->entry);
  const std::uint32_t packedSize = ArchiveEntryStoredSize(state, stream->entry);
  auto* packed = static_cast<std::uint8_t*>(TRACKED_ALLOC(packedSize));
  std::uint8_t* data = nullptr;
  if (packed != nullptr && ReadArchiveBytes(state, MemberDataOffset(stream), packed, packedSize) == packedSize &&
      MuaLzOutputSize(packed, packedSize) == size && size <= MuaLzOutputLimit(packedSize)) {
    data = static_cast<std::uint8_t*>(TRACKED_ALLOC(size));
    if (data != nullptr && DecompressMuaLz(packed, packedSize, data, size) < 0) {
      TrackedFree(data);
      data = nullptr;
    }
  }
  TrackedFree(packed);
  return data;
}

}  // namespace

int OpenArchive(ArchiveState* state, const char* path, const char* keyString) {
  if (state->file != nullptr) return -1;
  state->file = PlainFileOpen(path, 0);
  if (state->file == nullptr) return -1;
  state->fileSize = PlainFileSize(state->file);
  BuildArchiveKey(keyString, state->key);
  bool isArchive = ReadHeader(state);
  if (!isArchive) {
    BuildFallbackArchiveKey(state->key);
    isArchive = ReadHeader(state);
  }
  const ArchiveHeader& h = state->header;
  if (!isArchive || h.version >= kArchiveVersionCount) {
    LogPrintf("アーカイブファイルではないか、鍵が違います：%s", path);
  } else if (CheckArchiveHeader(h, state->fileSize) < 0) {
    LogPrintf("アーカイブファイルのヘッダが壊れています：%s", path);
  } else if ((state->directory = static_cast<std::uint8_t*>(TRACKED_ALLOC(h.directorySize))) == nullptr) {
    LogPrintf("アーカイブファイルのディレクトリを読み込むメモリの確保に失敗しました：%s", path);
  } else if (ReadArchiveBytes(state, h.directoryOffset, state->directory, h.directorySize) != h.directorySize ||
             AttachArchiveDirectory(state) < 0) {
    LogPrintf("アーカイブファイルのディレクトリが壊れています：%s", path);
  } else {
    return 0;
  }
  CloseArchive(state);
  return -1;
}

void CloseArchive(ArchiveState* state) {
  if (state->file != nullptr) PlainFileClose(state->file);
  TrackedFree(state->directory);
  *state = ArchiveState{};
}

int OpenArchiveMember(ArchiveMemberStream* stream, ArchiveState* state, const char* memberPath) {
  const std::uint8_t* entry = FindArchiveEntry(memberPath, state);
  if (entry == nullptr) return -1;
  *stream = ArchiveMemberStream{state, entry, nullptr, 0, 0};
  if (!ArchiveEntryIsCompressed(state, entry)) return 0;
  stream->data = DecompressMember(stream);
  if (stream->data == nullptr) {
    *stream = ArchiveMemberStream{};
    return LogPrintf("アーカイブ内のファイルの圧縮データが壊れています：%s", memberPath);
  }
  return 0;
}

void CloseArchiveMember(ArchiveMemberStream* stream) {
  TrackedFree(stream->data);
  *stream = ArchiveMemberStream{};
}

std::uint32_t ReadArchiveMember(ArchiveMemberStream* stream, void* buffer, std::uint32_t bytes) {
  if (stream->eof) return 0;
  const std::uint32_t size = ArchiveEntrySize(stream->entry);
  if (stream->position >= size) {
    stream->eof = 1;
    return 0;
  }
  const std::uint32_t n = bytes < size - stream->position ? bytes : size - stream->position;
  std::uint32_t read = n;
  if (stream->data != nullptr) {
    std::memcpy(buffer, stream->data + stream->position, n);
  } else {
    read = ReadArchiveBytes(stream->archive, MemberDataOffset(stream) + stream->position, buffer, n);
  }
  stream->position += read;
  stream->eof = 0;
  return read;
}

int SeekArchiveMember(ArchiveMemberStream* stream, std::int64_t offset, int origin) {
  const std::int64_t size = ArchiveEntrySize(stream->entry);
  std::int64_t target = offset;
  if (origin == 1) target += stream->position;
  if (origin == 2) target += size;
  if (target < 0) target = 0;
  if (target > size) target = size;
  stream->position = static_cast<std::uint32_t>(target);
  stream->eof = 0;
  return 0;
}

std::int64_t TellArchiveMember(const ArchiveMemberStream* stream) { return stream->position; }

int ArchiveMemberEof(const ArchiveMemberStream* stream) { return stream->eof ? -1 : 0; }
