#pragma once
// Builds a realistic log memory image and the ground truth it encodes.
// (Being written by the log data engineer.)
