// Milliseconds per frame of the Direct3D stand-in drawing game-like scenes into a
// 1024 x 768 surface on one core, next to pixman compositing the same scenes and the
// software renderer drawing them with its rotated draw (turned by 0, scale 1).
//   representative: three full-screen background layers (one opaque, two alpha-tested),
//                   200 alpha-blended 64 x 64 sprites, 1,500 16 x 16 sprites (half alpha,
//                   half additive); also its parts on their own;
//   heavy:          2,000 alpha-blended 64 x 64 sprites.
// Each at 32 bits (X8R8G8B8 target, X8R8G8B8 and A8R8G8B8 textures) and 16 bits (RGB565
// target, RGB565 and A4R4G4B4 textures; pixman and the software renderer alike).
// The device gets the draws as the library sends them: textures in pieces of power-of-two
// sizes, quads of six vertices at x - 0.5, batched up to 390 quads per DrawPrimitive.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "com/com.h"
#include "d3d/d3d.h"
#include "graphics/blend_tables.h"
#include "graphics/memimg.h"
#include "softrender/rotated_kernels.h"
#include "testing.h"
#include "window/hwnd.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kBatchQuads = 390;  // the library's kind-1 batch holds 2,340 vertices

enum class Look { Opaque, AlphaTested, Alpha, Add };

// One picture the scenes draw from, as 0xAARRGGBB (straight alpha).
struct Picture {
  int width, height;
  std::vector<std::uint32_t> pixels;
  bool opaque;  // stored without alpha
};

// A draw: the part (sx, sy, w, h) of a picture placed at (x, y).
struct Placement {
  int picture;
  Look look;
  int x, y, sx, sy, w, h;
};

// Sprite places: the same sequence for every scene made.
std::uint32_t g_seed;
int Random(int range) {
  g_seed = g_seed * 1103515245u + 12345u;
  return static_cast<int>((g_seed >> 8) % static_cast<std::uint32_t>(range));
}

Picture MakeBackground(bool holes, int seed) {
  Picture p{kWidth, kHeight, std::vector<std::uint32_t>(kWidth * kHeight), !holes};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint32_t r = (x * 255 / kWidth + seed * 40) & 0xFF, g = (y * 255 / kHeight) & 0xFF, b = ((x ^ y) * seed) & 0xFF;
      bool hole = holes && ((x / 48 + y / 40 + seed) % 3 == 0);
      p.pixels[y * kWidth + x] = (hole ? 0u : 0xFF000000u) | r << 16 | g << 8 | b;
    }
  }
  return p;
}

// A 256 x 256 sheet of round sprites with soft edges, cells of `cell` pixels.
Picture MakeSheet(int cell) {
  Picture p{256, 256, std::vector<std::uint32_t>(256 * 256), false};
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      double dx = (x % cell) + 0.5 - cell / 2.0, dy = (y % cell) + 0.5 - cell / 2.0;
      double edge = cell / 2.0 - std::sqrt(dx * dx + dy * dy);
      std::uint32_t alpha = edge <= 0 ? 0 : (edge >= 3 ? 255 : static_cast<std::uint32_t>(edge * 85));
      std::uint32_t tint = static_cast<std::uint32_t>((x / cell) * 60 + (y / cell) * 25);
      p.pixels[y * 256 + x] = alpha << 24 | (tint & 0xFF) << 16 | ((tint * 3) & 0xFF) << 8 | 0xC0;
    }
  }
  return p;
}

struct Scene {
  std::vector<Picture> pictures;
  std::vector<Placement> draws;
};

std::uint32_t ToRgb565(std::uint32_t argb) {
  return (argb >> 8 & 0xF800) | (argb >> 5 & 0x07E0) | (argb >> 3 & 0x001F);
}
std::uint32_t ToArgb4444(std::uint32_t argb) {
  return (argb >> 16 & 0xF000) | (argb >> 12 & 0x0F00) | (argb >> 8 & 0x00F0) | (argb >> 4 & 0x000F);
}

void AddBackgrounds(Scene& scene) {
  scene.pictures.push_back(MakeBackground(false, 1));
  scene.pictures.push_back(MakeBackground(true, 2));
  scene.pictures.push_back(MakeBackground(true, 3));
  for (int layer = 0; layer < 3; ++layer) {
    scene.draws.push_back({layer, layer == 0 ? Look::Opaque : Look::AlphaTested, 0, 0, 0, 0, kWidth, kHeight});
  }
}

void AddSprites(Scene& scene, int sheet, int cell, int count, Look look) {
  for (int i = 0; i < count; ++i) {
    int cells = 256 / cell;
    int c = Random(cells * cells);
    scene.draws.push_back({sheet, look, Random(kWidth + cell) - cell, Random(kHeight + cell) - cell, (c % cells) * cell,
                           (c / cells) * cell, cell, cell});
  }
}

Scene Representative() {
  g_seed = 12345;
  Scene scene;
  AddBackgrounds(scene);
  scene.pictures.push_back(MakeSheet(64));
  scene.pictures.push_back(MakeSheet(16));
  AddSprites(scene, 3, 64, 200, Look::Alpha);
  AddSprites(scene, 4, 16, 750, Look::Alpha);
  AddSprites(scene, 4, 16, 750, Look::Add);
  return scene;
}

// The representative frame's parts on their own, to see where its time goes.
Scene RepresentativePart(bool (*keep)(const Placement&)) {
  Scene scene = Representative();
  std::erase_if(scene.draws, [keep](const Placement& draw) { return !keep(draw); });
  return scene;
}
Scene BackgroundsOnly() {
  return RepresentativePart([](const Placement& d) { return d.look == Look::Opaque || d.look == Look::AlphaTested; });
}
Scene LargeSpritesOnly() {
  return RepresentativePart([](const Placement& d) { return d.w == 64 && d.look == Look::Alpha; });
}
Scene SmallSpritesOnly() {
  return RepresentativePart([](const Placement& d) { return d.w == 16; });
}

Scene Heavy() {
  g_seed = 12345;
  Scene scene;
  scene.pictures.push_back(MakeSheet(64));
  AddSprites(scene, 0, 64, 2000, Look::Alpha);
  return scene;
}

// ---- The Direct3D stand-in ----

struct TexturedVertex {
  float x, y, z, rhw;
  DWORD diffuse;
  float u, v;
};

struct Texture {
  IDirectDrawSurface7* surface;
  int x, y, width, height;  // the piece of the picture it holds
};

struct Batch {
  IDirectDrawSurface7* texture;
  Look look;
  std::vector<TexturedVertex> vertices;
};

class DeviceScene {
 public:
  DeviceScene(const Scene& scene, int bits) : bits_(bits), pixelBytes_(bits / 8) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_Init(SDL_INIT_VIDEO);
    window_.sdlWindow = SDL_CreateWindow("bench", 0, 0, kWidth, kHeight, 0);
    CoInitialize(nullptr);
    CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd_));
    dd_->Initialize(nullptr);
    dd_->SetCooperativeLevel(&window_, DDSCL_NORMAL);
    dd_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d_));
    target_ = MakeSurface(kWidth, kHeight, false, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY);
    d3d_->CreateDevice(IID_IDirect3DHALDevice, target_, &device_);
    device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    device_->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    for (const Picture& picture : scene.pictures) pieces_.push_back(Upload(picture));
    for (const Placement& draw : scene.draws) Add(draw);
  }

  ~DeviceScene() {
    device_->Release();
    d3d_->Release();
    for (auto& pieces : pieces_) {
      for (Texture& piece : pieces) piece.surface->Release();
    }
    target_->Release();
    dd_->Release();
    CoUninitialize();
    SDL_DestroyWindow(window_.sdlWindow);
    SDL_Quit();
  }

  // One frame (kept out of line so that profilers can pick it out).
  [[gnu::noinline]] void Render() {
    device_->BeginScene();
    for (const Batch& batch : batches_) {
      SetLook(batch.look);
      device_->SetTexture(0, batch.texture);
      device_->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                             const_cast<TexturedVertex*>(batch.vertices.data()), batch.vertices.size(), 0);
    }
    device_->EndScene();
  }

 private:
  IDirectDrawSurface7* MakeSurface(int width, int height, bool alpha, DWORD caps) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = width;
    description.dwHeight = height;
    if (bits_ == 32) {
      description.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB | (alpha ? DDPF_ALPHAPIXELS : 0u), 0, {32},
                                     0xFF0000, {0xFF00}, 0xFF, alpha ? 0xFF000000u : 0u};
    } else if (alpha) {
      description.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB | DDPF_ALPHAPIXELS, 0, {16}, 0x0F00, {0x00F0},
                                     0x000F, 0xF000};
    } else {
      description.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, 0xF800, {0x07E0}, 0x001F, 0};
    }
    description.ddsCaps = {caps, 0};
    IDirectDrawSurface7* surface = nullptr;
    dd_->CreateSurface(&description, &surface, nullptr);
    return surface;
  }

  // Power-of-two pieces as the library cuts them: 1024 x 512 and 1024 x 256 for a
  // screen-sized picture, one texture for a 256 x 256 sheet.
  std::vector<Texture> Upload(const Picture& picture) {
    bool opaque = picture.opaque;
    std::vector<Texture> pieces;
    for (int top = 0; top < picture.height;) {
      int height = picture.height - top >= 512 ? 512 : 256;
      Texture piece{MakeSurface(picture.width, height, !opaque, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY), 0, top,
                    picture.width, height};
      DDSURFACEDESC2 description{};
      description.dwSize = sizeof(description);
      piece.surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
      for (int y = 0; y < height && top + y < picture.height; ++y) {
        BYTE* row = static_cast<BYTE*>(description.lpSurface) + y * description.lPitch;
        const std::uint32_t* pixels = &picture.pixels[(top + y) * picture.width];
        for (int x = 0; x < picture.width; ++x) {
          std::uint32_t raw = bits_ == 32 ? pixels[x] : (opaque ? ToRgb565(pixels[x]) : ToArgb4444(pixels[x]));
          std::memcpy(row + x * pixelBytes_, &raw, pixelBytes_);
        }
      }
      piece.surface->Unlock(nullptr);
      pieces.push_back(piece);
      top += height;
    }
    return pieces;
  }

  void Add(const Placement& draw) {
    for (const Texture& piece : pieces_[draw.picture]) {
      int top = std::max(draw.sy, piece.y), bottom = std::min(draw.sy + draw.h, piece.y + piece.height);
      if (top >= bottom) continue;
      if (batches_.empty() || batches_.back().texture != piece.surface || batches_.back().look != draw.look ||
          batches_.back().vertices.size() >= kBatchQuads * 6) {
        batches_.push_back({piece.surface, draw.look, {}});
      }
      float left = draw.x - 0.5f, right = left + draw.w;
      float y0 = draw.y + (top - draw.sy) - 0.5f, y1 = y0 + (bottom - top);
      float u0 = static_cast<float>(draw.sx) / piece.width, u1 = static_cast<float>(draw.sx + draw.w) / piece.width;
      float v0 = static_cast<float>(top - piece.y) / piece.height, v1 = static_cast<float>(bottom - piece.y) / piece.height;
      TexturedVertex tl{left, y0, 0, 1, 0xFFFFFFFFu, u0, v0}, tr{right, y0, 0, 1, 0, u1, v0};
      TexturedVertex bl{left, y1, 0, 1, 0, u0, v1}, br{right, y1, 0, 1, 0xFFFFFFFFu, u1, v1};
      batches_.back().vertices.insert(batches_.back().vertices.end(), {tl, tr, bl, br, bl, tr});
    }
  }

  // The states the library sends for its blend modes 0 (opaque and alpha-test textures),
  // 1 (alpha) and 2 (add).
  void SetLook(Look look) {
    bool blended = look == Look::Alpha || look == Look::Add;
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, look == Look::Opaque ? D3DTOP_SELECTARG2
                                                      : blended           ? D3DTOP_MODULATE
                                                                          : D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, look == Look::AlphaTested);
    device_->SetRenderState(D3DRENDERSTATE_ALPHAREF, 128);
    device_->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATER);
    device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blended);
    device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, look == Look::Add ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
  }

  int bits_;
  int pixelBytes_;
  HWND__ window_{};
  IDirectDraw7* dd_ = nullptr;
  IDirect3D7* d3d_ = nullptr;
  IDirect3DDevice7* device_ = nullptr;
  IDirectDrawSurface7* target_ = nullptr;
  std::vector<std::vector<Texture>> pieces_;
  std::vector<Batch> batches_;
};

// ---- pixman ----

// Premultiplied, as pixman composites.
std::uint32_t Premultiplied(std::uint32_t pixel) {
  std::uint32_t a = pixel >> 24;
  auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return a << 24 | scale((pixel >> 16) & 0xFF) << 16 | scale((pixel >> 8) & 0xFF) << 8 | scale(pixel & 0xFF);
}

class PixmanScene {
 public:
  PixmanScene(const Scene& scene, int bits) : scene_(scene), target_(kWidth * kHeight) {
    bool wide = bits == 32;
    destination_ = pixman_image_create_bits(wide ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5, kWidth, kHeight, target_.data(),
                                            kWidth * (wide ? 4 : 2));
    for (const Picture& picture : scene.pictures) {
      auto& alpha = alphaBits_.emplace_back(picture.pixels);
      auto& opaque = opaqueBits_.emplace_back(picture.pixels);
      for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        std::uint32_t premultiplied = Premultiplied(picture.pixels[i]);
        alpha[i] = wide ? premultiplied : ToArgb4444(premultiplied);
        opaque[i] = wide ? picture.pixels[i] : ToRgb565(picture.pixels[i]);
      }
      if (!wide) {  // 16-bit pixels packed two to a word
        for (auto* pixels : {&alpha, &opaque}) {
          std::vector<std::uint16_t> packed(pixels->begin(), pixels->end());
          std::memcpy(pixels->data(), packed.data(), packed.size() * 2);
        }
      }
      int pitch = picture.width * (wide ? 4 : 2);
      images_.push_back(pixman_image_create_bits(wide ? PIXMAN_a8r8g8b8 : PIXMAN_a4r4g4b4, picture.width,
                                                 picture.height, alpha.data(), pitch));
      opaque_.push_back(pixman_image_create_bits(wide ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5, picture.width,
                                                 picture.height, opaque.data(), pitch));
    }
  }

  ~PixmanScene() {
    for (pixman_image_t* image : images_) pixman_image_unref(image);
    for (pixman_image_t* image : opaque_) pixman_image_unref(image);
    pixman_image_unref(destination_);
  }

  void Render() {
    for (const Placement& d : scene_.draws) {
      pixman_op_t op = d.look == Look::Opaque ? PIXMAN_OP_SRC : (d.look == Look::Add ? PIXMAN_OP_ADD : PIXMAN_OP_OVER);
      pixman_image_t* source = d.look == Look::Opaque ? opaque_[d.picture] : images_[d.picture];
      pixman_image_composite32(op, source, nullptr, destination_, d.sx, d.sy, 0, 0, d.x, d.y, d.w, d.h);
    }
  }

 private:
  const Scene& scene_;
  std::vector<std::uint32_t> target_;
  pixman_image_t* destination_;
  std::vector<std::vector<std::uint32_t>> alphaBits_, opaqueBits_;  // the images' pixels
  std::vector<pixman_image_t*> images_;
  std::vector<pixman_image_t*> opaque_;
};

// ---- The software renderer ----

// Its rotated draw, turned by 0 at scale 1: opaque pictures copied (mode 0), alpha
// pictures drawn with their alpha (mode 0, transparent; alpha-tested layers too), added
// ones in mode 2.
class SoftrenderScene {
 public:
  SoftrenderScene(const Scene& scene, int bits) : scene_(scene) {
    FillBlendLookupTables();
    int kind = bits == 32 ? MEMIMG_KIND_32BIT : MEMIMG_KIND_16BIT;
    InitMemImg(&target_, kWidth, kHeight, -1, 0, kind, 0, 0, 0);
    images_.resize(scene.pictures.size());
    for (std::size_t p = 0; p < scene.pictures.size(); ++p) {
      const Picture& picture = scene.pictures[p];
      bool alpha = !picture.opaque;
      InitMemImg(&images_[p], picture.width, picture.height, -1, 0, kind, 0, alpha ? 1 : 0, 0);
      int bytes = MemImgBytesPerPixel(kind, 0, alpha ? 1 : 0);
      for (int y = 0; y < picture.height; ++y) {
        auto* row = static_cast<BYTE*>(images_[p].pixels) + static_cast<std::ptrdiff_t>(y) * images_[p].pitch;
        for (int x = 0; x < picture.width; ++x) {
          std::uint32_t argb = picture.pixels[y * picture.width + x];
          std::uint32_t raw = bits == 32 ? (alpha ? argb : argb & 0xFFFFFF) : (ToRgb565(argb) | (alpha ? argb >> 24 << 16 : 0));
          std::memcpy(row + x * bytes, &raw, bytes);
        }
      }
    }
  }

  ~SoftrenderScene() {
    for (MEMIMG& image : images_) TerminateMemImg(&image);
    TerminateMemImg(&target_);
  }

  void Render() {
    for (const Placement& d : scene_.draws) {
      SoftDrawState state{{0, 0, kWidth, kHeight}, d.look == Look::Add ? 2 : 0, 255, 0xFFFFFF, 1};
      MEMIMG piece;
      InitMemImgView(&piece, &images_[d.picture], d.sx, d.sy, d.w, d.h);
      BlitMemImgRotatedKernels(&target_, &piece, d.x + d.w / 2, d.y + d.h / 2, 0.0f, 1.0f, d.look != Look::Opaque, 0,
                               nullptr, state);
    }
  }

 private:
  const Scene& scene_;
  MEMIMG target_{};
  std::vector<MEMIMG> images_;
};

// Which pixel routines the device may use: the specialised ones of the widest
// instruction set, the SSE2 ones, or the general path only.
enum class Routines { Widest, Sse2, General };

template <typename Renderer>
void RunFrames(benchmark::State& state, Scene (*make)(), int bits, Routines routines) {
  Scene scene = make();
  Renderer renderer(scene, bits);
  D3DTestUseGeneralPathOnly(routines == Routines::General);
  D3DTestUseSse2Only(routines == Routines::Sse2);
  for (auto _ : state) renderer.Render();
  D3DTestUseGeneralPathOnly(false);
  D3DTestUseSse2Only(false);
}

// On a shared machine the fastest of several repetitions is the steadiest figure:
// run with --benchmark_repetitions=10 to get it.
double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

template <typename Renderer>
void Register(const std::string& name, Scene (*make)(), int bits, Routines routines = Routines::Widest) {
  benchmark::RegisterBenchmark((name + "/" + std::to_string(bits)).c_str(), RunFrames<Renderer>, make, bits, routines)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Fastest);
}

}  // namespace

int main(int argc, char** argv) {
  for (int bits : {32, 16}) {
    Register<DeviceScene>("device/representative", Representative, bits);
    Register<PixmanScene>("pixman/representative", Representative, bits);
    Register<SoftrenderScene>("softrender/representative", Representative, bits);
    Register<DeviceScene>("device/heavy", Heavy, bits);
    Register<PixmanScene>("pixman/heavy", Heavy, bits);
    Register<SoftrenderScene>("softrender/heavy", Heavy, bits);
    Register<DeviceScene>("device/backgrounds", BackgroundsOnly, bits);
    Register<DeviceScene>("device/large-sprites", LargeSpritesOnly, bits);
    Register<DeviceScene>("device/small-sprites", SmallSpritesOnly, bits);
    Register<DeviceScene>("device-sse2/representative", Representative, bits, Routines::Sse2);
    Register<DeviceScene>("device-sse2/heavy", Heavy, bits, Routines::Sse2);
    Register<DeviceScene>("device-general/representative", Representative, bits, Routines::General);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
