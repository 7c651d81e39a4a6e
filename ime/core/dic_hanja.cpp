#include "dic_hanja.h"

namespace ime {

// The kind mask of each lookup follows the conversion mode of the context.
bool DicHanjaDictionary::Lookup(const std::string& reading, unsigned conversionMode, std::string* word) {
  reading_ = reading;
  return engine_.DicLookup(reading, word, conversionMode) == dic::kFound;
}

bool DicHanjaDictionary::LookupNext(std::string* word) {
  return !reading_.empty() && engine_.DicLookupNext(reading_, word, 1) == dic::kFound;
}

bool DicHanjaDictionary::Learn(const std::string& reading, const std::string& word, unsigned conversionMode) {
  engine_.SetKindMask(conversionMode);
  return engine_.DicLearnWord(reading, word) == dic::kFound;
}

}  // namespace ime
