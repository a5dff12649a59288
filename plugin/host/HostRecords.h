#pragma once

// Everything that crosses plugMain, laid out byte for byte as FreeFrame GL
// 1.500 hosts read and write it. Each record's layout is pinned below for the
// pointer width being compiled, so a 32-bit and a 64-bit build each check
// their own.

#include <cstddef>
#include <cstdint>
#include <cstring>

// The pointer-sized value plugMain takes and answers. It is a plain integer,
// not a union, so that it travels in a register under every calling
// convention: a union would be returned through memory on Linux i386.
// 32-bit numbers and f32 bit patterns travel in the low 32 bits; pointers
// travel whole.
using MixedValue = std::uintptr_t;

constexpr std::uint32_t ResultSuccess = 0;
constexpr std::uint32_t ResultFailure = 0xFFFFFFFFu;
// The two pointer-answering failures (codes 7 and 18) set every bit.
constexpr MixedValue ResultFailureAllBits = ~MixedValue{0};

constexpr std::uint32_t ParamTypeBoolean = 0;
constexpr std::uint32_t ParamTypeStandard = 10;
constexpr std::uint32_t ParamTypeText = 100;

constexpr std::uint32_t PluginTypeEffect = 0;

constexpr std::uint32_t CapabilityGL = 4;
constexpr std::uint32_t CapabilityHostTime = 5;
constexpr std::uint32_t CapabilityMinInputs = 10;
constexpr std::uint32_t CapabilityMaxInputs = 11;

constexpr std::uint32_t InputInUse = 1;

struct InfoRecord {
  std::uint32_t apiMajor;
  std::uint32_t apiMinor;
  char uniqueId[4];  // not terminated when all four are used
  char name[16];     // zero-filled; not terminated at 16 characters
  std::uint32_t pluginType;
};

struct DetailsRecord {
  std::uint32_t versionMajor;
  std::uint32_t versionMinor;
  const char* description;
  const char* about;
  std::uint32_t extraSize;
  void* extraData;
};

struct ParamWriteRecord {
  std::uint32_t index;
  // Which member applies is decided by the parameter's registered type.
  union {
    float number;
    const char* text;
  } value;
};

struct TextureRecord {
  std::uint32_t imageWidth;
  std::uint32_t imageHeight;
  std::uint32_t textureWidth;
  std::uint32_t textureHeight;
  std::uint32_t textureId;
};

struct FrameRecord {
  std::uint32_t inputCount;
  TextureRecord** inputs;
};

// Never read by the plug-in; declared so that hosts and tests share it.
struct ViewportRecord {
  std::uint32_t x;
  std::uint32_t y;
  std::uint32_t width;
  std::uint32_t height;
};

static_assert(sizeof(MixedValue) == sizeof(void*));
static_assert(sizeof(float) == 4 && sizeof(double) == 8);

static_assert(sizeof(InfoRecord) == 32);
static_assert(offsetof(InfoRecord, apiMajor) == 0);
static_assert(offsetof(InfoRecord, apiMinor) == 4);
static_assert(offsetof(InfoRecord, uniqueId) == 8);
static_assert(offsetof(InfoRecord, name) == 12);
static_assert(offsetof(InfoRecord, pluginType) == 28);

static_assert(sizeof(TextureRecord) == 20);
static_assert(offsetof(TextureRecord, imageWidth) == 0);
static_assert(offsetof(TextureRecord, imageHeight) == 4);
static_assert(offsetof(TextureRecord, textureWidth) == 8);
static_assert(offsetof(TextureRecord, textureHeight) == 12);
static_assert(offsetof(TextureRecord, textureId) == 16);

static_assert(sizeof(ViewportRecord) == 16);

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(MixedValue) == 8);

static_assert(sizeof(DetailsRecord) == 40);
static_assert(offsetof(DetailsRecord, versionMajor) == 0);
static_assert(offsetof(DetailsRecord, versionMinor) == 4);
static_assert(offsetof(DetailsRecord, description) == 8);
static_assert(offsetof(DetailsRecord, about) == 16);
static_assert(offsetof(DetailsRecord, extraSize) == 24);
static_assert(offsetof(DetailsRecord, extraData) == 32);

static_assert(sizeof(ParamWriteRecord) == 16);
static_assert(offsetof(ParamWriteRecord, index) == 0);
static_assert(offsetof(ParamWriteRecord, value) == 8);

static_assert(sizeof(FrameRecord) == 16);
static_assert(offsetof(FrameRecord, inputCount) == 0);
static_assert(offsetof(FrameRecord, inputs) == 8);
#elif UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(MixedValue) == 4);

static_assert(sizeof(DetailsRecord) == 24);
static_assert(offsetof(DetailsRecord, versionMajor) == 0);
static_assert(offsetof(DetailsRecord, versionMinor) == 4);
static_assert(offsetof(DetailsRecord, description) == 8);
static_assert(offsetof(DetailsRecord, about) == 12);
static_assert(offsetof(DetailsRecord, extraSize) == 16);
static_assert(offsetof(DetailsRecord, extraData) == 20);

static_assert(sizeof(ParamWriteRecord) == 8);
static_assert(offsetof(ParamWriteRecord, index) == 0);
static_assert(offsetof(ParamWriteRecord, value) == 4);

static_assert(sizeof(FrameRecord) == 8);
static_assert(offsetof(FrameRecord, inputCount) == 0);
static_assert(offsetof(FrameRecord, inputs) == 4);
#else
#error "Only 32-bit and 64-bit pointer widths are supported"
#endif

// Helpers for moving 32-bit values through a MixedValue.
constexpr MixedValue MixedFromU32(std::uint32_t value) { return MixedValue{value}; }
inline std::uint32_t U32FromMixed(MixedValue value) { return static_cast<std::uint32_t>(value); }
inline MixedValue MixedFromFloat(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return MixedFromU32(bits);
}
inline float FloatFromMixed(MixedValue value) {
  const std::uint32_t bits = U32FromMixed(value);
  float number = 0.0f;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}
inline MixedValue MixedFromPointer(const void* pointer) {
  return reinterpret_cast<MixedValue>(pointer);
}
