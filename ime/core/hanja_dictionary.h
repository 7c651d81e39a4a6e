// What the hanja conversion needs of the dictionary: readings and words are
// GM95 double bytes. The dictionary file engine provides it in the DLL;
// tests use a small in-memory one.
#pragma once
#include <string>

namespace ime {

class HanjaDictionary {
 public:
  virtual ~HanjaDictionary() = default;
  // The dictionary file exists and can be used.
  virtual bool Available() = 0;
  // First word of a reading offered in the conversion mode of the input
  // context (its bit 0x1000 selects the alternative words); false when the
  // reading is unknown.
  virtual bool Lookup(const std::string& reading, unsigned conversionMode, std::string* word) = 0;
  // The next word of the reading of the last lookup; false at the end.
  virtual bool LookupNext(std::string* word) = 0;
  // Moves a word offered in the conversion mode to the front of its reading.
  virtual bool Learn(const std::string& reading, const std::string& word, unsigned conversionMode) = 0;
  // Ends the access that the calls above began.
  virtual void EndAccess() = 0;
};

}  // namespace ime
