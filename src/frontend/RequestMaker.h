// The core's own way to make a TRequest: only the builders of src/frontend include this.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "frontend/Request.h"

namespace printset {

class TRequestMaker {
 public:
  static TRequest Make(std::string operation, TJob job, uint64_t bytes, std::string stopMessage = {},
                       std::vector<TRecordInput> inputs = {}, int32_t rateAfter = 0) {
    TRequest request;
    request.Name = std::move(operation);
    request.Work = std::move(job);
    request.Size = bytes;
    request.Stopping = std::move(stopMessage);
    request.Files = std::move(inputs);
    request.NewRate = rateAfter;
    return request;
  }
};

}  // namespace printset
