// Named resources of type TEXT in a module, behind a small interface so that
// the table loaders can be tested without one.
#pragma once
#include <cstdint>
#include <span>

namespace codeconv {

class ResourceFinder {
 public:
  virtual ~ResourceFinder() = default;
  // Empty when the module has no such resource.
  virtual std::span<const uint8_t> Find(uintptr_t module, const char* name) const = 0;
};

#ifdef _WIN32
// FindResourceA / LoadResource / LockResource on the module's own resources.
const ResourceFinder& ModuleResources();
#endif

}  // namespace codeconv
