// Lays out an MUA archive: header, member data, then the directory block (name table,
// file table, folder table), every byte scrambled with the chosen key.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/archive_format.h"
#include "core/sjis.h"
#include "mua_writer.h"

namespace {

struct Node {
  ArchiveNameEntry name{};
  bool folder = false;
  std::size_t parent = 0;
  std::vector<std::size_t> children;  // indices into the node list
  const std::vector<std::uint8_t>* data = nullptr;
  std::uint32_t nameOffset = 0;
  std::uint32_t folderOffset = 0;  // folders: offset of their entry in the folder table
};

bool SameName(const ArchiveNameEntry& a, const ArchiveNameEntry& b) {
  return a.units == b.units && a.parity == b.parity && std::equal(a.name, a.name + a.units * 4, b.name);
}

// "/" becomes "\" except inside two-byte characters.
std::string WithBackslashes(const std::string& path) {
  std::string out = path;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsSjisLeadByte(static_cast<unsigned char>(out[i]))) {
      ++i;
    } else if (out[i] == '/') {
      out[i] = '\\';
    }
  }
  return out;
}

bool AddMember(std::vector<Node>* nodes, const MuaMember& member, std::string* error) {
  const std::string path = WithBackslashes(member.path);
  std::size_t folder = 0;
  std::size_t at = 0;
  for (;;) {
    ArchiveNameEntry name;
    std::uint32_t length = 0;
    if (BuildArchiveNameEntry(path.c_str() + at, &name, &length) < 0 || length == 0) {
      *error = "bad element in member path \"" + member.path + "\"";
      return false;
    }
    const bool last = at + length == path.size();
    std::size_t found = 0;
    for (std::size_t child : (*nodes)[folder].children) {
      if (SameName((*nodes)[child].name, name)) found = child;
    }
    if (found != 0 && (last || !(*nodes)[found].folder)) {
      *error = "member path \"" + member.path + "\" clashes with another member (names ignore letter case)";
      return false;
    }
    if (found == 0) {
      Node node;
      node.name = name;
      node.folder = !last;
      node.data = last ? &member.data : nullptr;
      node.parent = folder;
      nodes->push_back(node);
      found = nodes->size() - 1;
      (*nodes)[folder].children.push_back(found);
    }
    if (last) return true;
    folder = found;
    at += length + 1;
  }
}

void AppendLe32(std::vector<std::uint8_t>* out, std::uint32_t v) {
  std::uint8_t bytes[4];
  StoreLe32(bytes, v);
  out->insert(out->end(), bytes, bytes + 4);
}

void AppendNameEntry(std::vector<std::uint8_t>* names, const ArchiveNameEntry& name) {
  std::uint8_t head[kArchiveNameEntryHeader];
  StoreLe16(head, name.units);
  StoreLe16(head + 2, name.parity);
  names->insert(names->end(), head, head + sizeof head);
  names->insert(names->end(), name.name, name.name + name.units * 4);
}

void GetArchiveKey(const MuaPackOptions& options, std::uint8_t key[kArchiveKeySize]) {
  switch (options.keyMode) {
    case MuaKeyMode::kKeyString: BuildArchiveKey(options.keyString.c_str(), key); break;
    case MuaKeyMode::kNoKeyString: BuildArchiveKey(nullptr, key); break;
    case MuaKeyMode::kFallbackKey: BuildFallbackArchiveKey(key); break;
  }
}

}  // namespace

std::vector<std::uint8_t> BuildMuaArchive(const std::vector<MuaMember>& members, const MuaPackOptions& options,
                                          std::string* error) {
  if (options.version < 0 || options.version >= kArchiveVersionCount) {
    *error = "version must be 0 to 3";
    return {};
  }
  const auto version = static_cast<std::uint16_t>(options.version);
  if (options.compress && version < kArchiveFirstCompressingVersion) {
    *error = "compression needs version 2 or 3";
    return {};
  }
  std::vector<Node> nodes(1);
  nodes[0].folder = true;
  for (const MuaMember& member : members) {
    if (!AddMember(&nodes, member, error)) return {};
  }

  // Folders in breadth-first order, the root first; each folder's entries lie together.
  std::vector<std::size_t> folders{0};
  for (std::size_t k = 0; k < folders.size(); ++k) {
    nodes[folders[k]].folderOffset = static_cast<std::uint32_t>(k * kArchiveFolderEntrySize);
    for (std::size_t child : nodes[folders[k]].children) {
      if (nodes[child].folder) folders.push_back(child);
    }
  }
  std::vector<std::uint8_t> names;
  for (std::size_t n = 1; n < nodes.size(); ++n) {
    nodes[n].nameOffset = static_cast<std::uint32_t>(names.size());
    AppendNameEntry(&names, nodes[n].name);
  }

  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> fileTable;
  std::vector<std::uint8_t> folderTable;
  const std::size_t entrySize = ArchiveFileEntrySize(version);
  for (std::size_t folder : folders) {
    AppendLe32(&folderTable, 0);  // not read by the reader
    AppendLe32(&folderTable, folder == 0 ? kArchiveNoParent : nodes[nodes[folder].parent].folderOffset);
    AppendLe32(&folderTable, static_cast<std::uint32_t>(nodes[folder].children.size()));
    AppendLe32(&folderTable, static_cast<std::uint32_t>(fileTable.size()));
    for (std::size_t child : nodes[folder].children) {
      const Node& node = nodes[child];
      std::vector<std::uint8_t> entry(entrySize, 0);
      StoreLe32(&entry[kFileEntryNameOffset], node.nameOffset);
      if (node.folder) {
        StoreLe32(&entry[kFileEntryAttributes], kArchiveFolderAttribute);
        StoreLe32(&entry[kFileEntryDataOffset], node.folderOffset);
      } else {
        const std::vector<std::uint8_t>& bytes = *node.data;
        std::vector<std::uint8_t> packed;
        if (options.compress && !bytes.empty()) packed = CompressMuaLz(bytes.data(), bytes.size());
        const bool compressed = !packed.empty() && packed.size() < bytes.size();
        if (data.size() + bytes.size() > 0xFFFFFFFFu - kArchiveHeaderSize) {
          *error = "members too large for one archive";
          return {};
        }
        StoreLe32(&entry[kFileEntryDataOffset], static_cast<std::uint32_t>(data.size()));
        StoreLe32(&entry[kFileEntrySize], static_cast<std::uint32_t>(bytes.size()));
        if (version >= kArchiveFirstCompressingVersion) {
          StoreLe32(&entry[kFileEntryCompressedSize],
                    compressed ? static_cast<std::uint32_t>(packed.size()) : kArchiveStoredMarker);
        }
        const std::vector<std::uint8_t>& stored = compressed ? packed : bytes;
        data.insert(data.end(), stored.begin(), stored.end());
      }
      fileTable.insert(fileTable.end(), entry.begin(), entry.end());
    }
  }

  std::vector<std::uint8_t> directory = names;
  directory.insert(directory.end(), fileTable.begin(), fileTable.end());
  directory.insert(directory.end(), folderTable.begin(), folderTable.end());
  if (kArchiveHeaderSize + data.size() + directory.size() > 0xFFFFFFFFu) {
    *error = "members too large for one archive";
    return {};
  }
  ArchiveHeader header{};
  header.magic = kArchiveMagic;
  header.version = version;
  header.directorySize = static_cast<std::uint32_t>(directory.size());
  header.dataOffset = kArchiveHeaderSize;
  header.directoryOffset = static_cast<std::uint32_t>(kArchiveHeaderSize + data.size());
  header.fileTableOffset = static_cast<std::uint32_t>(names.size());
  header.folderTableOffset = static_cast<std::uint32_t>(names.size() + fileTable.size());

  std::vector<std::uint8_t> image(kArchiveHeaderSize);
  StoreArchiveHeader(header, image.data());
  image.insert(image.end(), data.begin(), data.end());
  image.insert(image.end(), directory.begin(), directory.end());
  std::uint8_t key[kArchiveKeySize];
  GetArchiveKey(options, key);
  UnscrambleArchiveBytes(static_cast<std::uint32_t>(image.size()), image.data(), 0, key);
  return image;
}

bool CollectMuaMembers(const std::filesystem::path& folder, std::vector<MuaMember>* members, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    *error = "not a folder: " + folder.string();
    return false;
  }
  std::vector<std::filesystem::path> files;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(it->path());
  }
  if (ec) {
    *error = "cannot list " + folder.string() + ": " + ec.message();
    return false;
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    MuaMember member;
    member.path = file.lexically_relative(folder).generic_string();
    member.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      *error = "cannot read " + file.string();
      return false;
    }
    members->push_back(std::move(member));
  }
  return true;
}

bool PackFolderToMuaArchive(const std::filesystem::path& folder, const std::filesystem::path& archive,
                            const MuaPackOptions& options, std::string* error) {
  std::vector<MuaMember> members;
  if (!CollectMuaMembers(folder, &members, error)) return false;
  const std::vector<std::uint8_t> image = BuildMuaArchive(members, options, error);
  if (image.empty()) return false;
  std::ofstream out(archive, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + archive.string();
    return false;
  }
  return true;
}
