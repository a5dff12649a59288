#include "framework/CFFGLPluginManager.h"

#include <cstring>

namespace {

void CopyName(char (&field)[16], const char* name) {
  std::memset(field, 0, sizeof field);
  if (name == nullptr) return;
  for (std::size_t i = 0; i < sizeof field; ++i) {
    field[i] = name[i];
    if (name[i] == '\0') break;
  }
}

// NaN passes through unchanged: neither comparison holds for it.
float ClampDefault(float value) {
  if (value > 1.0f) value = 1.0f;
  if (value < 0.0f) value = 0.0f;
  return value;
}

}  // namespace

CFFGLPluginManager::~CFFGLPluginManager() {
  ParamInfo* node = head;
  while (node != nullptr) {
    ParamInfo* next = node->next;
    if (node->type == ParamTypeText) delete[] node->defaultText;
    delete node;
    node = next;
  }
  head = nullptr;
  tail = nullptr;
}

void CFFGLPluginManager::AddParam(std::uint32_t index, const char* name, std::uint32_t type,
                                  float defaultValue) {
  auto* node = new ParamInfo{};
  node->index = index;
  node->extraA = 1;
  node->extraB = 0;
  CopyName(node->name, name);
  node->type = type;
  node->defaultText = nullptr;
  node->next = nullptr;
  node->defaultValue = ClampDefault(defaultValue);

  if (head == nullptr) head = node;
  if (tail != nullptr) tail->next = node;
  tail = node;
  ++paramCount;
}

const ParamInfo* CFFGLPluginManager::Find(std::uint32_t index) const {
  for (const ParamInfo* node = head; node != nullptr; node = node->next) {
    if (node->index == index) return node;
  }
  return nullptr;
}

std::uint32_t CFFGLPluginManager::ParamTypeOf(std::uint32_t index) const {
  const ParamInfo* node = Find(index);
  return node != nullptr ? node->type : ResultFailure;
}

const char* CFFGLPluginManager::ParamNameOf(std::uint32_t index) const {
  const ParamInfo* node = Find(index);
  return node != nullptr ? node->name : nullptr;
}

MixedValue CFFGLPluginManager::ParamDefaultOf(std::uint32_t index) const {
  const ParamInfo* node = Find(index);
  if (node == nullptr) return MixedFromU32(ResultFailure);
  if (node->type == ParamTypeText) return MixedFromPointer(node->defaultText);
  return MixedFromFloat(node->defaultValue);
}

std::int32_t CFFGLPluginManager::ParamExtraAOf(std::uint32_t index) const {
  const ParamInfo* node = Find(index);
  return node != nullptr ? node->extraA : static_cast<std::int32_t>(ResultFailure);
}

std::int32_t CFFGLPluginManager::ParamExtraBOf(std::uint32_t index) const {
  const ParamInfo* node = Find(index);
  return node != nullptr ? node->extraB : static_cast<std::int32_t>(ResultFailure);
}
