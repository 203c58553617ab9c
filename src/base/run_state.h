#pragma once
// Values shared by the batch driver, the photo window and both pipelines for
// the life of the program. One object exists per program; tests make their own.
#include <cstdint>
#include <string>
#include <vector>

namespace tagmora {

struct RunState {
    std::string StartFolder;     // where Config.txt and Tagmora.log live; set once
    std::string PhotoFolder;     // the folder of the current (or last) run
    bool KeepGoing = false;      // the run may go on; cleared by Abort, Skip and Cancel
    bool SkipRequested = false;  // the user gave up the image in hand only
    std::int32_t ErrorCount = 0;
    std::int32_t ProcessedCount = 0;
    std::vector<std::string> SkippedImages;  // given up with Skip, in the order skipped
    std::int32_t UnreachedCount = 0;         // of the run's list, never handed on after a stop
    std::string CurrentImage;                // bare file name of the image in hand
    bool VerticalScan = false;               // Orientation is Vertical: sample columns
    std::string LastBarcode;                 // last barcode the General pipeline read; emptied when a run starts
    // The stretch of the line in hand that was handed to the barcode engine,
    // in samples: the red strip is limited to it.
    std::int32_t BandStart = 0;
    std::int32_t BandEnd = 0;
    bool RunInProgress = false;  // a second Execute while one run pumps events is refused
};

}  // namespace tagmora
