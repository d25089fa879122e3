// A started file layer in a scratch folder, as the game configures it: archives on,
// extension "pop", key "Tovl8", the log in the scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../support/scratch_directory.h"
#include "core/file_layer.h"
#include "mua_writer.h"

class FileLayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the layer again with these settings (null key: none set).
  void Restart(const char* key);

  // Writes the members as loose files below `folder`.
  void WriteLoose(const std::string& folder, const std::vector<MuaMember>& members);
  // Packs loose folder `folder` into `archive`.
  void Pack(const std::string& folder, const std::string& archive, const MuaPackOptions& options);

  // The whole file read through FileOpen / FileReadBlock in pieces of `piece` bytes,
  // or nothing when the open fails.
  std::optional<std::vector<std::uint8_t>> ReadThroughLayer(const std::string& path, std::size_t piece = 1000,
                                                            int async = 0);
  std::string LogText() const;

  ScratchDirectory scratch_;
  std::size_t blocksAtStart_ = 0;
};

// A member path as the game writes it: "\" between elements.
std::string GamePath(const std::string& folder, const std::string& member);
