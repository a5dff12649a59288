// libFuzzer target: plugMain driven by calls decoded from the fuzzer's bytes
// on an offscreen GL context. Only what a host may pass goes in: live handles,
// small indices, null or harness-owned records. Every answer the standard
// fixes for an invalid call is checked; a wrong one traps.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "glcontext/HostGL.h"
#include "glcontext/OffscreenContext.h"
#include "host/HostCall.h"
#include "host/HostRecords.h"
#include "platform/Export.h"

FFGL_EXPORT MixedValue FFGL_CALL plugMain(std::uint32_t code, MixedValue input, void* instance);

namespace {

struct Harness {
  std::unique_ptr<OffscreenContext> context;
  HostGL gl;
  GLuint framebuffer = 0;
  GLuint target = 0;
  GLuint texture = 0;
};
Harness* harness = nullptr;

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "plugMain broke its contract: %s\n", what);
  __builtin_trap();
}

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
  bool Empty() const { return at >= size; }
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  std::uint32_t Word() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return value;
  }
  // Mostly small indices, sometimes the edges.
  std::uint32_t Index() {
    const std::uint8_t byte = Byte();
    if (byte == 0xFF) return 0xFFFFFFFFu;
    if (byte == 0xFE) return 0x80000000u;
    return byte % 12;
  }

 private:
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
};

MixedValue Call(HostCall call, MixedValue input = 0, void* instance = nullptr) {
  return plugMain(static_cast<std::uint32_t>(call), input, instance);
}

const std::uint32_t unknownCodes[] = {3,  11, 12, 14, 24, 25,  26,
                                      27, 28, 29, 30, 34, 100, 0xFFFFFFFFu};

void RunOne(Bytes& bytes) {
  std::vector<void*> live;
  const ViewportRecord viewport{0, 0, 32, 32};
  harness->gl.BindFramebuffer(GL_FRAMEBUFFER, harness->framebuffer);
  glViewport(0, 0, 32, 32);
  int steps = 0;
  while (!bytes.Empty() && ++steps < 256) {
    const std::uint8_t op = bytes.Byte() % 15;
    void* instance = live.empty() ? nullptr : live[bytes.Byte() % live.size()];
    switch (op) {
      case 0: {
        if (live.size() >= 4) break;
        const bool withViewport = bytes.Byte() % 8 != 0;
        const MixedValue handle =
            Call(HostCall::InstanceCreate, withViewport ? MixedFromPointer(&viewport) : 0);
        if (!withViewport) {
          Require(handle == ResultFailureAllBits, "code 18 with a null ViewportRecord");
        } else if (handle != ResultFailureAllBits && handle != 0) {
          live.push_back(reinterpret_cast<void*>(handle));
        }
        break;
      }
      case 1:
        if (instance == nullptr) break;
        Require(U32FromMixed(Call(HostCall::InstanceDestroy, 0, instance)) == ResultSuccess,
                "code 19 on a live instance");
        live.erase(std::find(live.begin(), live.end(), instance));
        break;
      case 2: {
        ParamWriteRecord record{bytes.Index(), {0}};
        const std::uint32_t bits = bytes.Word();
        std::memcpy(&record.value.number, &bits, sizeof bits);
        const bool nullRecord = bytes.Byte() % 8 == 0;
        const MixedValue answer =
            Call(HostCall::ParamWrite, nullRecord ? 0 : MixedFromPointer(&record), instance);
        if (instance == nullptr || nullRecord) {
          Require(U32FromMixed(answer) == ResultFailure, "code 8 with a null handle or record");
        }
        break;
      }
      case 3: Call(HostCall::ParamRead, bytes.Index(), instance); break;
      case 4: {
        const MixedValue text = Call(HostCall::ParamReadoutQuery, bytes.Index(), instance);
        if (instance == nullptr) {
          Require(text == ResultFailureAllBits, "code 7 with a null handle");
        } else if (text != 0 && text != ResultFailureAllBits) {
          Require(memchr(reinterpret_cast<const char*>(text), '\0', 256) != nullptr,
                  "code 7 text unterminated");
        }
        break;
      }
      case 5: {
        TextureRecord texture{16, 16, 16, 16, harness->texture};
        TextureRecord* inputs[1] = {&texture};
        FrameRecord frame{1, inputs};
        const std::uint8_t shape = bytes.Byte();
        if (shape & 1) texture.imageWidth = bytes.Word();
        if (shape & 2) texture.textureHeight = bytes.Word();
        if (shape & 4) texture.textureId = bytes.Byte();
        if (shape & 8) frame.inputCount = 0;
        if (shape & 16) inputs[0] = nullptr;
        if (shape & 32) frame.inputs = nullptr;
        const bool nullRecord = (shape & 0xC0) == 0xC0;
        const MixedValue answer =
            Call(HostCall::FrameRender, nullRecord ? 0 : MixedFromPointer(&frame), instance);
        if (instance == nullptr || nullRecord) {
          Require(U32FromMixed(answer) == ResultFailure, "code 17 with a null handle or record");
        }
        break;
      }
      case 6: {
        const double time = static_cast<double>(bytes.Word()) / 1000.0;
        const bool nullTime = bytes.Byte() % 4 == 0;
        const MixedValue answer =
            Call(HostCall::HostTimeSet, nullTime ? 0 : MixedFromPointer(&time), instance);
        if (instance == nullptr || nullTime) {
          Require(U32FromMixed(answer) == ResultFailure, "code 20 with a null handle or time");
        }
        break;
      }
      case 7: Call(HostCall::ContextAttach, 0, instance); break;
      case 8: Call(HostCall::ContextDetach, 0, instance); break;
      case 9:
        if (instance != nullptr)
          Call(HostCall::ViewportResize, MixedFromPointer(&viewport), instance);
        break;
      case 10: Call(HostCall::InputStatusQuery, bytes.Index(), instance); break;
      case 11: {
        const HostCall calls[] = {
            HostCall::InfoQuery,        HostCall::DetailsQuery,      HostCall::ParamCountQuery,
            HostCall::ParamNameQuery,   HostCall::ParamDefaultQuery, HostCall::CapabilityQuery,
            HostCall::ParamTypeQuery,   HostCall::ParamExtraAQuery,  HostCall::ParamExtraBQuery,
            HostCall::PluginExtraQuery, HostCall::LibraryOpen};
        const HostCall call = calls[bytes.Byte() % 11];
        const std::uint32_t index = bytes.Index();
        const MixedValue answer = Call(call, index);
        if (call == HostCall::ParamNameQuery && index >= 9) {
          Require(answer == 0, "code 5 for an unregistered index");
        }
        break;
      }
      case 12: {
        const std::uint32_t code = unknownCodes[bytes.Byte() % 14];
        Require(U32FromMixed(plugMain(code, bytes.Index(), instance)) == ResultFailure,
                "an unknown code");
        break;
      }
      case 13:
        if (live.empty()) Call(HostCall::LibraryClose);
        break;
      default: {
        // A per-instance call with a null handle.
        const HostCall calls[] = {HostCall::ParamRead, HostCall::InputStatusQuery,
                                  HostCall::ContextAttach, HostCall::ContextDetach,
                                  HostCall::InstanceDestroy};
        const HostCall call = calls[bytes.Byte() % 5];
        Require(U32FromMixed(Call(call, bytes.Index(), nullptr)) == ResultFailure,
                "a per-instance call with a null handle");
        break;
      }
    }
  }
  for (void* instance : live) Call(HostCall::InstanceDestroy, 0, instance);
  Call(HostCall::LibraryClose);
  while (glGetError() != GL_NO_ERROR) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  harness = new Harness;
  std::string error;
  harness->context = OffscreenContext::Create(error);
  if (!harness->context || !harness->gl.Load(*harness->context)) {
    std::fprintf(stderr, "no GL context: %s\n", error.c_str());
    std::exit(1);
  }
  glGenTextures(1, &harness->texture);
  glBindTexture(GL_TEXTURE_2D, harness->texture);
  std::vector<std::uint32_t> pixels(16 * 16, 0xFF8040C0u);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glGenTextures(1, &harness->target);
  glBindTexture(GL_TEXTURE_2D, harness->target);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 32, 32, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  harness->gl.GenFramebuffers(1, &harness->framebuffer);
  harness->gl.BindFramebuffer(GL_FRAMEBUFFER, harness->framebuffer);
  harness->gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                                   harness->target, 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(data, size);
  RunOne(bytes);
  return 0;
}
