#pragma once
// The General pipeline's lists and values that outlive one call: the profile of
// the line sampled last, the edge/crossing list, the stretch handed to the line
// scanning engine, its band for the red mark, and the line tried last.
#include <cstdint>
#include <string>
#include <vector>

namespace tagmora {

struct EdgeRecord {
    float Position = 0.0f;
    bool Falling = false;  // the profile drops to or below the threshold here
};

struct EdgeCluster {
    std::int32_t Start = 0;
    std::int32_t End = 0;
    std::int32_t Count = 0;  // edges joined to the first one
};

// A run of bright samples of the wide-element search's last try.
struct BrightRun {
    std::int32_t Start = 0;  // one past the run's first bright sample
    std::int32_t End = 0;
    std::int32_t Count = 0;  // bright samples after the first
};

// One bar or space; Position is its start or its centre, as each step says.
struct Element {
    float Position = 0.0f;
    float Width = 0.0f;
};

// A wide element of the Code 39 run reconstruction: its centre and 'B' (wide
// bar) or 'S' (wide space).
struct WideMark {
    float Centre = 0.0f;
    char Kind = 'B';
};

// Working lists of the line analysis, the line scanning engine and the
// wide-element search. Each call clears the lists it uses and never shrinks
// them, so once they have grown a scan line allocates nothing. Each list has a
// single user, as these calls nest (analysis -> engine -> search -> decoding).
struct GeneralScratch {
    std::vector<EdgeCluster> Clusters;  // line analysis
    std::vector<Element> Bars;          // engine: bars, start and width
    std::vector<Element> Spaces;        // engine: spaces, start and width
    std::vector<float> BarWidths;       // engine: widths handed to Code 128
    std::vector<float> SpaceWidths;
    std::string RunString;          // engine: quick Code 39 read
    std::vector<Element> WideBars;  // search: centre and width
    std::vector<Element> WideSpaces;
    std::vector<BrightRun> LightRuns;  // search: bright runs
    std::vector<WideMark> Marks;       // run reconstruction
    std::string WideRunString;
};

struct GeneralState {
    std::vector<std::int32_t> LineProfile;
    std::vector<EdgeRecord> EdgeList;
    std::vector<std::int32_t> ProfileSegment;
    std::int32_t BandStart = 0;
    std::int32_t BandEnd = 0;
    std::int32_t LastLine = 0;  // 0 = none
    GeneralScratch Scratch;
};

}  // namespace tagmora
