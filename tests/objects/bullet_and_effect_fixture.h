// The expected records of the bullet and effect templates (data/
// bullet_and_effect_templates.txt, cut from their tables): the sweep's standing state,
// the records of each template in order as name=value words ('*' a formula, 'arg'
// the facing argument), and the maxima of its draws in order. A key "<id>@<stage>"
// holds for that stage only.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

using Words = std::vector<std::string>;

struct BulletAndEffectFixture {
  std::map<std::string, Words> setup;
  std::map<std::string, std::vector<Words>> records;
  std::map<std::string, std::vector<int>> draws;

  std::set<int> TemplateIds() const;
};

BulletAndEffectFixture ReadBulletAndEffectFixture();
