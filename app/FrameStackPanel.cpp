#include "app/FrameStackPanel.h"

#include "app/ColorChoicePopup.h"
#include "app/DocumentController.h"
#include "document/Recipe.h"

#include <QAction>
#include <QFont>
#include <QListWidget>
#include <QTimer>

#include <vector>

namespace quillon {

namespace {

constexpr int kGroupRole = Qt::UserRole;
// The row of the frame in progress.
constexpr int kProgressGroup = -1;

} // namespace

QString GroupSettingsText(const FrameGroup& group, bool visible) {
    if (!group.style) return QObject::tr("Image commands only");
    const StyleInfo& info = StyleInfoOf(*group.style);
    QStringList lines{QObject::tr(info.displayName)};
    const auto caption = [&info](EditField field) {
        return QObject::tr(info.Caption(field)).remove(QLatin1Char('&'));
    };
    const std::pair<EditField, const std::optional<Length>*> lengths[] = {
        {EditField::FrameHeight, &group.frameHeight},
        {EditField::FrameWidth, &group.frameWidth},
        {EditField::BorderWidth, &group.borderWidth}};
    for (const auto& [field, length] : lengths)
        if (*length && info.Shows(field))
            lines << QStringLiteral("%1: %2").arg(
                caption(field), field == EditField::BorderWidth && !info.thirdFieldIsLength
                                    ? QString::number((*length)->value)
                                    : QString::fromStdString(FormatLength(**length)));
    if (group.frameColor && info.Shows(EditField::FrameColor))
        lines << QStringLiteral("%1: %2").arg(caption(EditField::FrameColor),
                                              ColorName(*group.frameColor));
    if (group.borderColor && info.Shows(EditField::BorderColor))
        lines << QStringLiteral("%1: %2").arg(caption(EditField::BorderColor),
                                              ColorName(*group.borderColor));
    if (group.pattern)
        lines << QStringLiteral("%1: %2").arg(caption(EditField::Decoration),
                                              QString::fromStdString(*group.pattern));
    if (group.scaled && info.Shows(EditField::CheckBox))
        lines << QStringLiteral("%1: %2").arg(
            caption(EditField::CheckBox), *group.scaled ? QObject::tr("yes") : QObject::tr("no"));
    if (!group.commands.empty())
        lines << QObject::tr("%n image command(s) first", nullptr, int(group.commands.size()));
    if (!visible) lines << QObject::tr("Hidden");
    return lines.join(QLatin1Char('\n'));
}

FrameStackPanel::FrameStackPanel(DocumentController& controller,
                                 std::function<QIcon(StyleId)> styleIcon,
                                 std::function<void(const std::function<void()>&)> command,
                                 QWidget* parent)
    : QDockWidget(tr("Frames"), parent), controller_(controller), styleIcon_(std::move(styleIcon)),
      command_(std::move(command)) {
    setObjectName("frameStackPanel");
    list_ = new QListWidget(this);
    list_->setObjectName("frameStackList");
    list_->setAccessibleName(tr("Frame stack, top frame first"));
    list_->setToolTip(tr("The frames on the photo, the top one first: select one to change it, "
                         "drag to reorder, clear the box to hide it"));
    list_->setIconSize(QSize(48, 48));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    setWidget(list_);

    const auto action = [this](const char* name, const QString& text, const QString& tip,
                               const std::function<void(std::size_t)>& run) {
        auto* a = new QAction(text, list_);
        a->setObjectName(name);
        a->setToolTip(tip);
        a->setStatusTip(tip);
        connect(a, &QAction::triggered, this, [this, run] {
            if (const auto k = selectedGroup()) {
                const std::size_t group = *k;
                command_([run, group] { run(group); });
            }
        });
        list_->addAction(a);
        return a;
    };
    duplicateAction = action("duplicateFrameAction", tr("&Duplicate"),
                             tr("Put a copy of this frame right above it"),
                             [this](std::size_t k) { controller_.duplicateGroup(k); });
    moveUpAction = action("moveFrameUpAction", tr("Move &Up"), tr("Move this frame one place out"),
                          [this](std::size_t k) { controller_.moveGroup(k, k + 1); });
    moveDownAction =
        action("moveFrameDownAction", tr("Move Do&wn"), tr("Move this frame one place in"),
               [this](std::size_t k) { controller_.moveGroup(k, k - 1); });
    removeAction = action("removeFrameAction", tr("&Remove"), tr("Take this frame off"),
                          [this](std::size_t k) { controller_.removeGroup(k); });
    removeAction->setShortcut(QKeySequence::Delete);
    removeAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!refreshing_) rowChosen();
        updateActions();
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!refreshing_) rowChecked(list_->row(item));
    });
    // A drop moves the row inside the list; the stack follows once the drop
    // is over, and the rows are then made afresh from it.
    connect(list_->model(), &QAbstractItemModel::rowsMoved, this, [this] {
        if (!refreshing_) QTimer::singleShot(0, this, [this] { rowDropped(); });
    });
    connect(&controller_, &DocumentController::stackChanged, this, &FrameStackPanel::refresh);
    connect(&controller_, &DocumentController::styleChanged, this, &FrameStackPanel::refresh);
    refresh();
}

std::optional<std::size_t> FrameStackPanel::groupOfRow(int row) const {
    const QListWidgetItem* item = list_->item(row);
    if (!item) return std::nullopt;
    const int group = item->data(kGroupRole).toInt();
    if (group == kProgressGroup) return std::nullopt;
    return std::size_t(group);
}

int FrameStackPanel::rowOfGroup(std::size_t group) const {
    return int(controller_.groupCount() - 1 - group) + (progressRow_ ? 1 : 0);
}

std::optional<std::size_t> FrameStackPanel::selectedGroup() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return groupOfRow(list_->row(selected.front()));
}

void FrameStackPanel::refresh() {
    struct Row {
        int group;
        QString text;
        std::optional<StyleId> style;
        QString tooltip;
        bool checked;
    };
    std::vector<Row> rows;
    const std::size_t count = controller_.groupCount();
    const std::optional<std::size_t> edited = controller_.editedGroup();
    progressRow_ = controller_.framing() && !edited;
    if (progressRow_) {
        const StyleInfo& info = StyleInfoOf(*controller_.style());
        rows.push_back(
            {kProgressGroup, tr("%1 (not applied)").arg(tr(info.displayName)), info.id,
             tr("%1\nIn progress: Apply Frame puts it on the stack").arg(tr(info.displayName)),
             false});
    }
    for (std::size_t k = count; k-- > 0;) {
        const StackGroup& g = controller_.group(k);
        rows.push_back(
            {int(k),
             g.group.style ? tr(StyleInfoOf(*g.group.style).displayName) : tr("Image commands"),
             g.group.style, GroupSettingsText(g.group, g.visible), g.visible});
    }

    refreshing_ = true;
    // Rows are changed in place while they stay the same groups, so that a
    // press that selects a row can still go on to drag it.
    bool same = list_->count() == int(rows.size());
    for (int i = 0; same && i < list_->count(); ++i)
        same = list_->item(i)->data(kGroupRole).toInt() == rows[std::size_t(i)].group;
    if (!same) {
        list_->clear();
        for (const Row& row : rows) {
            auto* item = new QListWidgetItem;
            item->setData(kGroupRole, row.group);
            if (row.group == kProgressGroup) {
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                               Qt::ItemIsDragEnabled);
            }
            list_->addItem(item);
        }
    }
    for (int i = 0; i < list_->count(); ++i) {
        const Row& row = rows[std::size_t(i)];
        QListWidgetItem* item = list_->item(i);
        if (item->text() != row.text) item->setText(row.text);
        item->setIcon(row.style ? styleIcon_(*row.style) : QIcon());
        item->setToolTip(row.tooltip);
        item->setData(Qt::AccessibleDescriptionRole, row.tooltip);
        if (row.group != kProgressGroup)
            item->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
        const bool selected =
            row.group == kProgressGroup ? true : edited && *edited == std::size_t(row.group);
        item->setSelected(selected);
    }
    refreshing_ = false;
    updateActions();
}

void FrameStackPanel::updateActions() {
    const std::optional<std::size_t> k = selectedGroup();
    const std::size_t count = controller_.groupCount();
    duplicateAction->setEnabled(k.has_value());
    removeAction->setEnabled(k.has_value());
    moveUpAction->setEnabled(k && *k + 1 < count);
    moveDownAction->setEnabled(k && *k > 0);
}

void FrameStackPanel::rowChosen() {
    if (const std::optional<std::size_t> k = selectedGroup()) {
        const std::size_t group = *k;
        command_([this, group] { controller_.editGroup(group); });
    }
}

void FrameStackPanel::rowChecked(int row) {
    const std::optional<std::size_t> k = groupOfRow(row);
    if (!k) return;
    const bool visible = list_->item(row)->checkState() == Qt::Checked;
    const std::size_t group = *k;
    command_([this, group, visible] { controller_.setGroupVisible(group, visible); });
    // A change the controller refused leaves the box as the stack is.
    refresh();
}

void FrameStackPanel::rowDropped() {
    // The groups in their new order, bottom first; one of them moved.
    std::vector<int> order;
    for (int row = list_->count(); row-- > 0;) {
        const int group = list_->item(row)->data(kGroupRole).toInt();
        if (group != kProgressGroup) order.push_back(group);
    }
    int first = 0, last = int(order.size()) - 1;
    while (first < int(order.size()) && order[std::size_t(first)] == first) ++first;
    while (last >= 0 && order[std::size_t(last)] == last) --last;
    if (first < last) {
        // Moved up from first to last, or down from last to first.
        const bool up = order[std::size_t(last)] == first;
        const std::size_t from = std::size_t(up ? first : last),
                          to = std::size_t(up ? last : first);
        command_([this, from, to] { controller_.moveGroup(from, to); });
    }
    refresh();
}

} // namespace quillon
