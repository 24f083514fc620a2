#pragma once
#include <initializer_list>
#include "simulator/drag_block.h"

class QDragMoveEvent;
class QDropEvent;
class QWidget;

// Offers a block under format from source, with copy as the only effect.
void StartBlockDrag(QWidget* source, const char* format, const CDragBlock& block);

// A drag entering or moving over a target: copy when it offers one of the formats, else refused.
bool AcceptBlockDrag(QDragMoveEvent* event, std::initializer_list<const char*> formats);

// A drop: the block of the first of the formats that it offers (which one in format);
// false, with the drop refused, when it offers none.
bool TakeBlockDrop(QDropEvent* event, std::initializer_list<const char*> formats, CDragBlock& block,
                   const char** format = nullptr);
