#include "wizard/pages/directory_list.h"

#include <algorithm>
#include <cctype>

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

#include "install/tables/destination_table.h"
#include "support/subdirectories.h"

namespace {

constexpr int kIndent = 10;       // pixels per depth step
constexpr int kFolderWidth = 16;
constexpr int kFolderHeight = 11;
constexpr int kGap = 4;           // between the folder and the name
constexpr std::uintptr_t kOpenBit = 1;

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

// "C:\A\B" -> {"A", "B"}; the root gives none.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::string::size_type start = path.find('\\');
  if (start == std::string::npos) return parts;
  ++start;
  while (start < path.size()) {
    std::string::size_type end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

void DrawFolder(QPainter& painter, const QRect& box, bool open) {
  const QColor yellow(255, 255, 160);
  painter.setPen(Qt::black);
  painter.setBrush(yellow);
  const int x = box.left();
  const int y = box.top();
  // The tab, then the body; an open folder's front leans back.
  painter.drawRect(x, y, 6, 2);
  if (open) {
    painter.drawRect(x, y + 2, kFolderWidth - 2, kFolderHeight - 3);
    const QPolygon front({QPoint(x + 3, y + 5), QPoint(x + kFolderWidth, y + 5),
                          QPoint(x + kFolderWidth - 3, y + kFolderHeight - 1), QPoint(x, y + kFolderHeight - 1)});
    painter.setBrush(yellow.darker(110));
    painter.drawPolygon(front);
  } else {
    painter.drawRect(x, y + 2, kFolderWidth - 2, kFolderHeight - 3);
  }
}

class DirectoryListDrawer : public platform::ui::ListBoxDrawer {
 public:
  int MeasureItem(int, const std::string&) override {
    return std::max(QFontMetrics(QApplication::font()).height(), kFolderHeight) + 2;
  }

  void DrawItem(QPainter& painter, const platform::ui::ListItemPaint& item) override {
    const QPalette palette = QApplication::palette();
    const int depth = static_cast<int>(item.data >> 1);
    const bool open = (item.data & kOpenBit) != 0;
    painter.fillRect(item.rect, palette.base());

    const int folderX = item.rect.left() + 2 + depth * kIndent;
    const QRect folder(folderX, item.rect.top() + (item.rect.height() - kFolderHeight) / 2, kFolderWidth,
                       kFolderHeight);
    DrawFolder(painter, folder, open);

    const QString text = QString::fromStdString(item.text);
    QRect textRect(folder.right() + kGap, item.rect.top(), painter.fontMetrics().horizontalAdvance(text) + 4,
                   item.rect.height());
    if (item.selected) painter.fillRect(textRect, palette.highlight());
    painter.setPen(item.selected ? palette.highlightedText().color() : palette.text().color());
    painter.drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    if (item.focused) {
      painter.setPen(QPen(palette.text().color(), 1, Qt::DotLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(textRect.adjusted(0, 0, -1, -1));
    }
  }
};

}  // namespace

std::vector<DirectoryLine> DirectoryLines(const std::string& current) {
  std::vector<DirectoryLine> lines;
  const std::string root = current.substr(0, std::min<std::size_t>(current.find('\\'), current.size())) + "\\";
  lines.push_back({root, root, 0, true});
  std::string path = root;
  int depth = 0;
  for (const std::string& part : Components(current)) {
    path = JoinDirectory(path, part);
    lines.push_back({part, path, ++depth, true});
  }
  std::vector<std::string> subdirectories = SubdirectoryNames(path);
  std::sort(subdirectories.begin(), subdirectories.end(), LessIgnoringCase);
  for (const std::string& name : subdirectories) lines.push_back({name, JoinDirectory(path, name), depth + 1, false});
  return lines;
}

std::size_t CurrentLineIndex(const std::vector<DirectoryLine>& lines) {
  std::size_t index = 0;
  while (index + 1 < lines.size() && lines[index + 1].open) ++index;
  return index;
}

std::uintptr_t DirectoryLineData(const DirectoryLine& line) {
  return (static_cast<std::uintptr_t>(line.depth) << 1) | (line.open ? kOpenBit : 0);
}

std::unique_ptr<platform::ui::ListBoxDrawer> MakeDirectoryListDrawer() {
  return std::make_unique<DirectoryListDrawer>();
}
