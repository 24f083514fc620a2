#include "views/drag_drop.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

void StartBlockDrag(QWidget* source, const char* format, const CDragBlock& block)
{
    auto* data = new QMimeData;
    const auto bytes = block.Encode();
    data->setData(format, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool AcceptBlockDrag(QDragMoveEvent* event, std::initializer_list<const char*> formats)
{
    for (const char* format : formats)
        if (event->mimeData()->hasFormat(format)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
            return true;
        }
    event->ignore();
    return false;
}

bool TakeBlockDrop(QDropEvent* event, std::initializer_list<const char*> formats, CDragBlock& block,
                   const char** format)
{
    for (const char* f : formats) {
        if (!event->mimeData()->hasFormat(f)) continue;
        if (!CDragBlock::Decode(event->mimeData()->data(f).toStdString(), block)) break;
        if (format) *format = f;
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return true;
    }
    event->ignore();
    return false;
}
