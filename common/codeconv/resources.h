// Named resources of a module (type TEXT unless said otherwise), behind a
// small interface so that the table loaders can be tested without one.
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
// FindResourceA / LoadResource / LockResource on a module's resources of one
// type (a string that outlives the finder, such as a literal).
class ModuleResourceFinder final : public ResourceFinder {
 public:
  explicit ModuleResourceFinder(const char* type) : type_(type) {}
  std::span<const uint8_t> Find(uintptr_t module, const char* name) const override;

 private:
  const char* type_;
};
// The module's resources of type TEXT.
const ResourceFinder& ModuleResources();
#endif

}  // namespace codeconv
