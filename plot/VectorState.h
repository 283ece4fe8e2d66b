// SPDX-License-Identifier: MIT
// Qt's drawing (text, widget paints) may leave the upper halves of the AVX
// registers dirty; every plain SSE instruction after that pays a transition
// penalty, which halves the speed of the reader's line scan and the painter's
// point mapping. The hot loops call this where Qt's drawing hands over to them.
#pragma once

// Clears the upper halves of the vector registers where the processor has them;
// does nothing elsewhere.
void ClearUpperVectorState();
