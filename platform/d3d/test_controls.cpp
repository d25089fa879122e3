#include "d3d/test_controls.h"

#include "d3d/d3d_types.h"

namespace {

struct FailureRule {
  D3DTestCall call;
  int skip;
  int count;
  HRESULT result;
};

std::vector<FailureRule> g_rules;
bool g_recording = false;
std::vector<D3DTestCallRecord> g_log;
bool g_generalPathOnly = false;
int g_specialisedDraws = 0;
bool g_sse2Only = false;
bool g_visitTransparent = false;
std::vector<DDPIXELFORMAT> g_offeredFormats;

}  // namespace

HRESULT D3DInjectedFailure(D3DTestCall call) {
  for (FailureRule& rule : g_rules) {
    if (rule.call != call || rule.count <= 0) continue;
    if (rule.skip > 0) {
      --rule.skip;
      continue;
    }
    --rule.count;
    return rule.result;
  }
  return D3D_OK;
}

void D3DRecordCall(D3DTestCall call, std::uint64_t first, std::uint64_t second, std::uint64_t third) {
  if (g_recording) g_log.push_back({call, {first, second, third}});
}

bool D3DUsesGeneralPathOnly() { return g_generalPathOnly; }

void D3DCountSpecialisedDraw() { ++g_specialisedDraws; }

bool D3DUsesSse2Only() { return g_sse2Only; }

bool D3DVisitsTransparentTexels() { return g_visitTransparent; }

const std::vector<DDPIXELFORMAT>* D3DOfferedTextureFormats() {
  return g_offeredFormats.empty() ? nullptr : &g_offeredFormats;
}

void D3DTestRecordCalls(bool on) {
  if (on) g_log.clear();
  g_recording = on;
}

std::vector<D3DTestCallRecord> D3DTestCallLog() { return g_log; }

void D3DTestFailCall(D3DTestCall call, int skip, int count, HRESULT result) {
  g_rules.push_back({call, skip, count, result});
}

void D3DTestOfferTextureFormats(const std::vector<DDPIXELFORMAT>& formats) { g_offeredFormats = formats; }

void D3DTestUseGeneralPathOnly(bool on) { g_generalPathOnly = on; }

int D3DTestSpecialisedDraws() { return g_specialisedDraws; }

void D3DTestUseSse2Only(bool on) { g_sse2Only = on; }

void D3DTestVisitTransparentTexels(bool on) { g_visitTransparent = on; }
