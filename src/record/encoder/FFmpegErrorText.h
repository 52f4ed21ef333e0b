#pragma once

#include <QString>

// The text FFmpeg gives for one of its error codes ("No space left on device").
QString ffmpegErrorText(int errorCode);
