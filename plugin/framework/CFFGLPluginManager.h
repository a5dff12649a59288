#pragma once

#include <cstdint>

#include "host/HostRecords.h"

// One registered parameter: a node of the registry's list, in registration
// order, owned by the registry.
struct ParamInfo {
  std::uint32_t index;
  char name[16];  // zero-filled; not terminated at 16 characters or more
  std::uint32_t type;
  std::int32_t extraA;
  std::int32_t extraB;
  float defaultValue;
  char* defaultText;  // owned; only ever set for ParamTypeText
  ParamInfo* next;
};

// The parameter registry every instance carries. The effect fills it in its
// constructor; the entry point answers the host's plug-in-wide questions from
// the description instance's registry. Lookups go by the stored index, first
// match from the head, never by list position.
class CFFGLPluginManager {
 public:
  CFFGLPluginManager() = default;
  virtual ~CFFGLPluginManager();

  CFFGLPluginManager(const CFFGLPluginManager&) = delete;
  CFFGLPluginManager& operator=(const CFFGLPluginManager&) = delete;

  std::uint32_t ParamCount() const { return paramCount; }
  std::int32_t MinInputs() const { return minInputs; }
  std::int32_t MaxInputs() const { return maxInputs; }
  bool WantsHostTime() const { return wantsHostTime; }

  // ResultFailure when the index is not registered.
  std::uint32_t ParamTypeOf(std::uint32_t index) const;
  // Null when the index is not registered.
  const char* ParamNameOf(std::uint32_t index) const;
  // The f32 default in the low 32 bits, or for a text parameter the whole
  // default-text pointer; ResultFailure in the low 32 bits when unregistered.
  MixedValue ParamDefaultOf(std::uint32_t index) const;
  std::int32_t ParamExtraAOf(std::uint32_t index) const;
  std::int32_t ParamExtraBOf(std::uint32_t index) const;

 protected:
  // Throws std::bad_alloc when memory is exhausted; the registry stays as it
  // was, and whoever constructs the instance frees it.
  void AddParam(std::uint32_t index, const char* name, std::uint32_t type, float defaultValue);
  void SetMinInputs(std::int32_t count) { minInputs = count; }
  void SetMaxInputs(std::int32_t count) { maxInputs = count; }

 private:
  const ParamInfo* Find(std::uint32_t index) const;

  std::uint32_t paramCount = 0;
  ParamInfo* head = nullptr;
  ParamInfo* tail = nullptr;
  std::int32_t minInputs = 0;
  std::int32_t maxInputs = 0;
  bool wantsHostTime = false;
};
