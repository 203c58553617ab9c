#pragma once
// The flow both pipelines share for one photograph: show it, let the
// pipeline scan it, stop when the user did, search deeper when nothing was
// read, decide, and answer a label seen but not used. Each pipeline brings
// its scan and its own way of naming a photograph. It lives with Deep Search,
// the highest layer below both pipelines, as Deep Search is one of its steps.
#include <string>

#include "base/image_outcome.h"
#include "base/run_context.h"
#include "base/scan_verdict.h"
#include "deep_search/deep_search_stage.h"
#include "photo/work_bitmap.h"

namespace tagmora {

class PhotographPipeline {
public:
    virtual ~PhotographPipeline() = default;

    // The scan lines or rows; Abort and Skip may stop it part-way.
    virtual ScanVerdict Scan() = 0;
    // The previous photograph's barcode, which a photograph without one
    // takes; the flow empties it when a photograph must not pass it on.
    virtual std::string& PreviousBarcode() = 0;
    // A label was seen here and not used: the next search starts afresh.
    virtual void StartAfresh() {}
    // Whether its problem lines carry the General pipeline's marker.
    virtual bool General() const = 0;

    // The outcomes each pipeline reaches its own way.
    virtual ImageOutcome Read(const ScanVerdict& verdict) = 0;
    virtual ImageOutcome TakePrevious() = 0;
    virtual ImageOutcome NoBarcode() = 0;
};

// One photograph of either type; the outcome is not logged yet. A photograph
// stopped part-way has no outcome of its own (Kind Other): the click's line
// tells. With Deep Search on, otherType reads before the whole photograph is
// searched.
ImageOutcome ProcessPhotograph(RunContext& ctx, const WorkBitmap& bitmap, PhotographPipeline& pipeline,
                               const OtherTypeReading& otherType);

// The same reading without a decision: the scan, then Deep Search and the
// other type's lines when nothing was read. Nothing is renamed, asked or
// logged, and no previous barcode is used or changed.
ScanVerdict ReadPhotograph(RunContext& ctx, const WorkBitmap& bitmap, PhotographPipeline& pipeline,
                           const OtherTypeReading& otherType);

}  // namespace tagmora
