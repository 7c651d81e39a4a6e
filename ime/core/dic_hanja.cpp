#include "dic_hanja.h"

namespace ime {

bool DicHanjaDictionary::Lookup(const std::string& reading, std::string* word) {
  reading_ = reading;
  return engine_.DicLookup(reading, word, settings_.conversionMode) == dic::kFound;
}

bool DicHanjaDictionary::LookupNext(std::string* word) {
  return !reading_.empty() && engine_.DicLookupNext(reading_, word, 1) == dic::kFound;
}

bool DicHanjaDictionary::Learn(const std::string& reading, const std::string& word) {
  return engine_.DicLearnWord(reading, word) == dic::kFound;
}

}  // namespace ime
