// The hanja conversion's view of the dictionary engine.
#pragma once
#include <string>

#include "dic_engine.h"
#include "hanja_dictionary.h"

namespace ime {

class DicHanjaDictionary final : public HanjaDictionary {
 public:
  explicit DicHanjaDictionary(dic::DicEngine& engine) : engine_(engine) {}

  bool Available() override { return engine_.Usable(); }
  bool Lookup(const std::string& reading, unsigned conversionMode, std::string* word) override;
  bool LookupNext(std::string* word) override;
  bool Learn(const std::string& reading, const std::string& word, unsigned conversionMode) override;
  void EndAccess() override { engine_.DicEndAccess(); }

 private:
  dic::DicEngine& engine_;
  std::string reading_;  // of the last lookup
};

}  // namespace ime
