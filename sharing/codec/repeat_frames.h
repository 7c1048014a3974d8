// SPDX-License-Identifier: MIT
#pragma once
// A video frame that repeats the frame before it, made without the encoder: for H.264 a P picture
// whose every macroblock is skipped, for VP9 a frame header that shows the last key frame again.
// A slide that stays on screen for seconds thus costs one encoded picture, not one per frame. Both
// follow a key frame: repeat n (from 1) is the n-th frame after it.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace sharing::codec {

// What a skipped H.264 picture needs to know of the stream's parameter sets.
struct H264Parameters {
    int spsId = 0;
    int ppsId = 0;
    int chromaFormat = 1;
    int log2MaxFrameNum = 4;
    int pocType = 0;
    int log2MaxPocLsb = 4;
    int macroblocks = 0; // in a frame
    bool bottomFieldPocPresent = false;
    bool weightedPrediction = false;
    bool redundantPictureCount = false;
    bool deblockingControl = false;
    bool cabac = false;
};

// The parameter sets in the encoder's header (NAL units with start codes, as libx264 gives them);
// nothing when the stream uses a feature a skipped picture cannot be written for here (field
// pictures, slice groups, picture order type 1).
std::optional<H264Parameters> readH264Parameters(QByteArrayView header);

// Skipped pictures are written with CAVLC. For a stream coded with CABAC, this is a copy of its
// picture parameter set under an id of its own, with CAVLC, as an Annex B NAL unit to add to the
// stream's header; `parameters` then name it. Empty when the header holds no picture parameters.
QByteArray h264RepeatParameterSet(QByteArrayView header, H264Parameters* parameters);

// The n-th picture after an IDR picture, as an Annex B NAL unit with its start code.
QByteArray h264RepeatPicture(const H264Parameters& parameters, std::int64_t n);

// A VP9 profile-0 frame that shows the last key frame again.
QByteArray vp9RepeatFrame();

} // namespace sharing::codec
