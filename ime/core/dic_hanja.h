// The hanja conversion's view of the dictionary engine.
#pragma once
#include <string>

#include "dic_engine.h"
#include "hanja_dictionary.h"
#include "ime_settings.h"

namespace ime {

class DicHanjaDictionary final : public HanjaDictionary {
 public:
  // The kind mask of each lookup follows the module's conversion mode.
  DicHanjaDictionary(dic::DicEngine& engine, const ImeSettings& settings) : engine_(engine), settings_(settings) {}

  bool Available() override { return engine_.State() != dic::kSlotUnusable; }
  bool Lookup(const std::string& reading, std::string* word) override;
  bool LookupNext(std::string* word) override;
  bool Learn(const std::string& reading, const std::string& word) override;
  void EndAccess() override { engine_.DicEndAccess(); }

 private:
  dic::DicEngine& engine_;
  const ImeSettings& settings_;
  std::string reading_;  // of the last lookup
};

}  // namespace ime
