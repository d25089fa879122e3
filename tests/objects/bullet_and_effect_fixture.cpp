#include "bullet_and_effect_fixture.h"

#include <fstream>
#include <sstream>

std::set<int> BulletAndEffectFixture::TemplateIds() const {
  std::set<int> ids;
  for (const auto& [key, ignored] : records) ids.insert(std::stoi(key));
  return ids;
}

BulletAndEffectFixture ReadBulletAndEffectFixture() {
  BulletAndEffectFixture fixture;
  std::ifstream file(TEMPLATE_FIXTURE_DIR "/bullet_and_effect_templates.txt");
  for (std::string line; std::getline(file, line);) {
    std::istringstream stream(line);
    std::string kind, key;
    Words words;
    stream >> kind >> key;
    for (std::string word; stream >> word;) words.push_back(word);
    if (kind == "setup") fixture.setup[key] = words;
    for (int i = 0; kind == "record" && i < std::stoi(words.at(0)); ++i) {
      fixture.records[key].emplace_back(words.begin() + 1, words.end());
    }
    for (std::size_t i = 0; kind == "draws" && i < words.size(); ++i) fixture.draws[key].push_back(std::stoi(words[i]));
  }
  return fixture;
}
