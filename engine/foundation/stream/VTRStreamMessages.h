#pragma once
// The texts of the stream errors, shared by the copies and the checked transfers.
inline constexpr const char* kBlockSizeZeroMessage = "Stream block size = 0 is not allowed";
inline constexpr const char* kReadFailedFormat =
    "Cannot read from stream. Position = %d, Stream size = %d, Block size = %d, Bytes Read = %d";
inline constexpr const char* kWriteFailedFormat =
    "Cannot write to stream. Position = %d, Stream size = %d, Block size = %d, Bytes Write = %d";
inline constexpr const char* kSeekFailedFormat = "Cannot set stream position to %d. Position = %d, Size = %d";
