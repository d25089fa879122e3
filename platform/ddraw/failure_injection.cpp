#include "ddraw/failure_injection.h"

#include <vector>

#include "ddraw/ddraw_types.h"

namespace {

struct FailureRule {
  DDrawTestCall call;
  DWORD surfaceCaps;
  int skip;
  int count;
  HRESULT result;
};

std::vector<FailureRule> g_rules;

}  // namespace

HRESULT InjectedFailure(DDrawTestCall call, DWORD surfaceCaps) {
  for (FailureRule& rule : g_rules) {
    if (rule.call != call || rule.count <= 0) continue;
    if ((surfaceCaps & rule.surfaceCaps) != rule.surfaceCaps) continue;
    if (rule.skip > 0) {
      --rule.skip;
      continue;
    }
    --rule.count;
    return rule.result;
  }
  return DD_OK;
}

void ClearInjectedFailures() { g_rules.clear(); }

void DDrawTestFailCall(DDrawTestCall call, int skip, int count, HRESULT result, DWORD surfaceCaps) {
  g_rules.push_back({call, surfaceCaps, skip, count, result});
}
