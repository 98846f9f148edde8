#pragma once

#include <string>

namespace orv {

// Receives the resource file names that the record generators find in mode
// CollectFiles. The resource audit implements it.
class FileReferenceSink {
  public:
    virtual ~FileReferenceSink() = default;
    virtual void RecordReference(const std::string& name) = 0;
};

} // namespace orv
