#include "gdi/gdi_failure_injection.h"

#include <mutex>
#include <vector>

namespace {

struct FailureRule {
  GdiTestCall call;
  int skip;
  int count;
};

std::mutex g_rulesLock;
std::vector<FailureRule> g_rules;

}  // namespace

bool GdiCallFails(GdiTestCall call) {
  std::lock_guard<std::mutex> lock(g_rulesLock);
  for (FailureRule& rule : g_rules) {
    if (rule.call != call || rule.count <= 0) continue;
    if (rule.skip > 0) {
      --rule.skip;
      continue;
    }
    --rule.count;
    return true;
  }
  return false;
}

void GdiTestFailCall(GdiTestCall call, int skip, int count) {
  std::lock_guard<std::mutex> lock(g_rulesLock);
  g_rules.push_back({call, skip, count});
}
