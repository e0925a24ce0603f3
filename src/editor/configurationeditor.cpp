#include "editor/configurationeditor.h"

#include <array>
#include <set>
#include <thread>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/dialogrun.h"
#include "components/picture.h"
#include "components/windowplacement.h"
#include "config/configuration.h"
#include "editor/editorpages.h"
#include "editor/editorrules.h"
#include "editor/editortable.h"
#include "editor/spinedit.h"
#include "emulator/emulatorknowledge.h"
#include "emulator/mameoptions.h"
#include "games/gamepicker.h"
#include "platform/filesystem.h"
#include "text/encoding.h"
#include "text/paths.h"

namespace arcavio {

namespace {

constexpr const char* kBuiltinDatDialogTitle = "Select the DAT File";

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}
QColor windowColour()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

// A dialog that picks one file to open, existing or not. Qt's own dialog, rather than the
// system's, must be chosen before anything else is set.
QFileDialog* openFileDialog(QWidget* parent, const char* name, const QString& title, const QString& filter,
                            bool qtOwnDialog = false)
{
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(QString::fromLatin1(name));
    if (qtOwnDialog)
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(filter);
    return dialog;
}

std::string numbered(const char* prefix, int number)
{
    return prefix + std::to_string(number);
}

} // namespace

ConfigurationEditor::ConfigurationEditor(const EditorContext& context)
    : QDialog(context.owner), context_(context)
{
    setObjectName(QStringLiteral("c110"));
    setWindowTitle(qtext(builtinText(110)));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    pages_ = std::make_unique<EditorPages>(this);
    bindControls();

    pictureDialogTitle_ = builtinText(111);
    executableDialogTitle_ = builtinText(113);
    saveDialogTitle_ = builtinText(131);
    folderBrowser_.Title = builtinText(114);

    guarded([this] { applyLanguage(); });
    pages_->arrange();
    auto* placement = new WindowPlacement(this);
    placement->setOuterPosition(QPoint(192, 112));
}

ConfigurationEditor::~ConfigurationEditor() = default;

// ---- binding -----------------------------------------------------------------------------

void ConfigurationEditor::onClick(QPushButton* button, std::function<void()> command)
{
    connect(button, &QPushButton::clicked, this, [command = std::move(command)] { guarded(command); });
}

void ConfigurationEditor::onClick(std::string_view button, std::function<void()> command)
{
    onClick(pages_->control<QPushButton>(button), std::move(command));
}

void ConfigurationEditor::bindControls()
{
    emulatorEdit_ = pages_->control<QLineEdit>("mame");
    connect(emulatorEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { askAboutEmulator(text.toStdString()); });
    gameEdit_ = pages_->control<QLineEdit>("game");
    runSpecifiedGame_ = pages_->control<QCheckBox>("c21");
    searchGameButton_ = pages_->control<QPushButton>("c23");
    pictureFrame_ = pages_->control<QFrame>("Shape1");
    picture_ = dynamic_cast<PictureBox*>(pages_->control("Image"));
    for (int row = 1; row <= 10; ++row)
        directoryEdits_.push_back(pages_->control<QLineEdit>(numbered("dir", row)));
    for (int row = 1; row <= 3; ++row)
        fileEdits_.push_back(pages_->control<QLineEdit>(numbered("file", row)));
    frameSkip_ = {pages_->control<SpinEdit>("frameskip")};
    for (int i = 1; i <= 3; ++i) {
        resolution_.push_back(pages_->control<SpinEdit>(numbered("resolution", i)));
        debugResolution_.push_back(pages_->control<SpinEdit>(numbered("dresolution", i)));
    }

    onClick("c24", [this] {
        if (context_.showHelp)
            context_.showHelp();
    });
    onClick("c25", [this] { saveAs(); });
    onClick("c26", [this] { save(); });
    onClick("c27", [this] { saveAndClose(); });
    onClick("c28", [this] { closeEditor(); });
    onClick("c18", [this] { searchExecutable(); });
    onClick("c112", [this] { clearPicture(); });
    onClick("c22", [this] { loadPictureFromDialog(); });
    onClick("c23", [this] { searchGame(); });
    picture_->onDoubleClick = [this] { guarded([this] { loadPictureFromDialog(); }); };
    // Each path row's Search and Default buttons.
    for (int row = 1; row <= 10; ++row) {
        const auto buttons = pages_->rowButtons(numbered("dir", row));
        onClick(buttons.at(0), [this, row] { searchDirectory(row); });
        onClick(buttons.at(1), [this, row] { defaultDirectory(row); });
    }
    for (int row = 1; row <= 3; ++row) {
        const auto buttons = pages_->rowButtons(numbered("file", row));
        onClick(buttons.at(0), [this, row] { searchDatFile(row); });
        onClick(buttons.at(1), [this, row] { defaultDatFile(row); });
    }

    connect(runSpecifiedGame_, &QCheckBox::toggled, this, &ConfigurationEditor::runSpecifiedGameChanged);
    runSpecifiedGameChanged(runSpecifiedGame_->isChecked());
    const std::array<std::pair<const char*, std::vector<SpinEdit*>*>, 3> automatic = {
        {{"c55", &frameSkip_}, {"c62", &resolution_}, {"c91", &debugResolution_}}};
    for (const auto& [name, fields] : automatic) {
        auto* box = pages_->control<QCheckBox>(name);
        connect(box, &QCheckBox::toggled, this,
                [this, fields](bool on) { automaticValueChanged(*fields, on); });
        automaticValueChanged(*fields, box->isChecked());
    }
}

void ConfigurationEditor::applyLanguage()
{
    applyEditorLanguage(context_.language, [this](int line, const std::string& text) {
        if (pages_->setText(line, text))
            return;
        if (line == 111)
            pictureDialogTitle_ = text;
        else if (line == 113)
            executableDialogTitle_ = text;
        else if (line == 114)
            folderBrowser_.Title = text;
        else if (line == 131)
            saveDialogTitle_ = text;
    });
}

// ---- enabling rules ----------------------------------------------------------------------

void ConfigurationEditor::runSpecifiedGameChanged(bool checked)
{
    if (checked) {
        setBackground(gameEdit_, windowColour());
        gameEdit_->setEnabled(true);
    } else {
        setBackground(gameEdit_, buttonFace());
        gameEdit_->setEnabled(false);
        gameEdit_->clear();
    }
    searchGameButton_->setEnabled(checked);
}

void ConfigurationEditor::automaticValueChanged(const std::vector<SpinEdit*>& fields, bool checked)
{
    for (SpinEdit* field : fields) {
        if (checked) {
            setBackground(field, buttonFace());
            field->setEnabled(false);
            field->setValue(0);
        } else {
            setBackground(field, QColor(Qt::white));
            field->setEnabled(true);
        }
    }
}

// ---- commands ----------------------------------------------------------------------------

void ConfigurationEditor::loadConfiguration(const LineList& lines)
{
    loadControls(lines, *this);
    askAboutEmulator(emulatorEdit_->text().toStdString());
}

// ---- what the emulator takes -------------------------------------------------------------

// Asked beside the window: a program that takes its time to answer must not hold the editor.
void ConfigurationEditor::askAboutEmulator(const std::string& program)
{
    if (program == askedEmulator_)
        return;
    askedEmulator_ = program;
    QPointer<ConfigurationEditor> editor(this);
    std::thread([editor, program] {
        const std::string wrapped = wrappedMame(program);
        std::shared_ptr<const EmulatorKnowledge> known = knownEmulator(wrapped.empty() ? program : wrapped);
        QMetaObject::invokeMethod(
            qApp,
            [editor, program, known] {
                if (editor && editor->askedEmulator_ == program)
                    editor->markSettingsFor(known.get());
            },
            Qt::QueuedConnection);
    }).detach();
}

void ConfigurationEditor::markSettingsFor(const EmulatorKnowledge* emulator)
{
    for (const Marked& mark : marked_) {
        if (!mark.widget)
            continue;
        mark.widget->setPalette(QPalette());
        mark.widget->setToolTip(mark.toolTip);
    }
    marked_.clear();
    if (emulator == nullptr)
        return;
    const Language& language = context_.language;
    std::string hint = language.holds(kNotTakenByEmulatorLine) ? language.line(kNotTakenByEmulatorLine)
                                                               : std::string("Not used by %1");
    if (const std::size_t at = hint.find("%1"); at != std::string::npos)
        hint.replace(at, 2, emulator->name());
    const QString shownHint = shownLine(hint);
    const auto mark = [&](QWidget* widget) {
        if (widget == nullptr)
            return;
        marked_.push_back({widget, widget->toolTip()});
        QPalette greyed = widget->palette();
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            greyed.setColor(role, QColor(Qt::gray));
        widget->setPalette(greyed);
        widget->setToolTip(shownHint);
    };
    // A label stands for every field after it on its row ("Resolution:" for the width, the
    // height and the colour depth): it is marked only when none of them is taken.
    std::set<int> labelsTaken, labelsNotTaken;
    for (const EditorControl& item : editorControls()) {
        if (item.line < 0)
            continue;
        const bool taken = recentMameTakesLine(item.line);
        if (item.follows > 0)
            (taken ? labelsTaken : labelsNotTaken).insert(item.follows);
        if (!taken)
            mark(pages_->control(item.name));
    }
    for (const int label : labelsNotTaken)
        if (!labelsTaken.contains(label))
            mark(pages_->control("c" + std::to_string(label)));
}

void ConfigurationEditor::save()
{
    if (!platform::fileExists(emulatorEdit_->text().toStdString()))
        messages().plainMessage(context_.language.text(152, kBuiltinEditorExeWarning));
    if (ConfigFileName.empty() && context_.askConfigurationName)
        ConfigFileName = context_.askConfigurationName();
    if (ConfigFileName.empty())
        return;
    savedLines = linesFromControls(*this);
    writeConfiguration(ConfigFileName, savedLines);
    messages().plainMessage(context_.language.text(132, "File Saved!"));
}

void ConfigurationEditor::saveAs()
{
    ConfigFileName = context_.askConfigurationName ? context_.askConfigurationName() : std::string();
    if (!ConfigFileName.empty())
        save();
}

void ConfigurationEditor::saveAndClose()
{
    save();
    if (!ConfigFileName.empty())
        closeEditor();
}

void ConfigurationEditor::closeEditor()
{
    if (context_.refreshList)
        context_.refreshList();
    close();
}

void ConfigurationEditor::keyPressEvent(QKeyEvent* event)
{
    // The window has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<std::string> ConfigurationEditor::runDialog(QFileDialog& dialog)
{
    if (context_.runFileDialog)
        return context_.runFileDialog(dialog);
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

QFileDialog& ConfigurationEditor::executableDialog()
{
    if (!executableDialog_)
        executableDialog_ =
            openFileDialog(this, "d113", shownLine(executableDialogTitle_), qtext(executableDialogFilter()));
    return *executableDialog_;
}

QFileDialog& ConfigurationEditor::datDialog()
{
    if (!datDialog_)
        datDialog_ = openFileDialog(this, "d125", QString::fromLatin1(kBuiltinDatDialogTitle),
                                    qtext(datDialogFilter()));
    return *datDialog_;
}

QFileDialog& ConfigurationEditor::pictureDialog()
{
    if (!pictureDialog_) {
        // The preview beside the list needs Qt's own dialog.
        pictureDialog_ =
            openFileDialog(this, "D111", shownLine(pictureDialogTitle_), pictureDialogFilter(), true);
        auto* preview = new QLabel(pictureDialog_);
        preview->setObjectName(QStringLiteral("preview"));
        preview->setFixedSize(160, 120);
        preview->setAlignment(Qt::AlignCenter);
        preview->setFrameShape(QFrame::Box);
        if (auto* grid = qobject_cast<QGridLayout*>(pictureDialog_->layout()))
            grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
        connect(pictureDialog_, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            try {
                const QImage image = loadPicture(QDir::toNativeSeparators(path).toStdString());
                preview->setPixmap(QPixmap::fromImage(image).scaled(preview->size(), Qt::KeepAspectRatio,
                                                                    Qt::SmoothTransformation));
            } catch (const std::exception&) {
                preview->clear();
            }
        });
    }
    return *pictureDialog_;
}

void ConfigurationEditor::searchExecutable()
{
    QFileDialog& dialog = executableDialog();
    const std::string directory = directoryPart(emulatorEdit_->text().toStdString());
    if (!directory.empty() && platform::directoryExists(directory))
        dialog.setDirectory(qtext(directory));
    if (const auto path = runDialog(dialog))
        emulatorEdit_->setText(qtext(*path));
}

void ConfigurationEditor::searchDirectory(int row)
{
    if (folderBrowser_.Execute(this))
        directoryEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(folderBrowser_.Directory));
}

void ConfigurationEditor::defaultDirectory(int row)
{
    const ConfigurationLine& entry = kConfigurationLines.at(static_cast<std::size_t>(4 + row));
    directoryEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(entry.defaultValue));
}

void ConfigurationEditor::searchDatFile(int row)
{
    if (const auto path = runDialog(datDialog()))
        fileEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(*path));
}

void ConfigurationEditor::defaultDatFile(int row)
{
    const ConfigurationLine& entry = kConfigurationLines.at(static_cast<std::size_t>(14 + row));
    fileEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(entry.defaultValue));
}

void ConfigurationEditor::showPicture(const QImage& image)
{
    picture_->setPixmap(QPixmap::fromImage(image));
}

void ConfigurationEditor::loadPictureFromDialog()
{
    QFileDialog& dialog = pictureDialog();
    dialog.setDirectory(qtext(platform::findEntryIgnoringCase(platform::dataDirectory(), "images",
                                                              platform::EntryKind::Directory)));
    const auto path = runDialog(dialog);
    if (!path)
        return;
    // A picture that fails to load leaves the previous name, so Save never writes a picture
    // that the editor could not open again.
    const QImage image = loadPicture(*path);
    pictureFileName_ = *path;
    showPicture(image);
    pictureFrame_->hide();
    picture_->show();
}

void ConfigurationEditor::clearPicture()
{
    pictureFrame_->show();
    pictureFileName_.clear();
    picture_->clear();
    picture_->hide();
}

void ConfigurationEditor::searchGame()
{
    const std::string directory = gameSearchDirectory(text("dir1"), emulatorEdit_->text().toStdString());
    if (!platform::directoryExists(directory)) {
        messages().plainMessage(missingDirectoryMessage(context_.language, directory));
        return;
    }
    GamePicker& picker = context_.gamePicker;
    picker.setChangeDirectoryVisible(false);
    picker.setZipDirectory(directory);
    picker.showModal();
    if (picker.gameChosen())
        gameEdit_->setText(qtext(decodeFileName(fileNamePart(picker.selectedZip()))));
}

std::string ConfigurationEditor::dialogTitle(const std::string& name) const
{
    if (name == "D111")
        return pictureDialogTitle_;
    if (name == "d113")
        return executableDialogTitle_;
    if (name == "d114")
        return folderBrowser_.Title;
    if (name == "d125")
        return kBuiltinDatDialogTitle;
    if (name == "d131")
        return saveDialogTitle_;
    return {};
}

// ---- the line binding ----------------------------------------------------------------------

QWidget* ConfigurationEditor::control(std::string_view name) const
{
    return pages_->control(name);
}

void ConfigurationEditor::setText(std::string_view name, const std::string& value)
{
    qobject_cast<QLineEdit*>(control(name))->setText(qtext(value));
}

void ConfigurationEditor::setFlag(std::string_view name, bool on)
{
    qobject_cast<QCheckBox*>(control(name))->setChecked(on);
}

void ConfigurationEditor::setInteger(std::string_view name, std::int32_t value)
{
    qobject_cast<SpinEdit*>(control(name))->setValue(value);
}

void ConfigurationEditor::setPicture(const std::string& path)
{
    pictureFileName_ = path;
    if (platform::fileExists(path))
        showPicture(loadPicture(path));
}

std::string ConfigurationEditor::text(std::string_view name) const
{
    return qobject_cast<QLineEdit*>(control(name))->text().toStdString();
}

bool ConfigurationEditor::flag(std::string_view name) const
{
    return qobject_cast<QCheckBox*>(control(name))->isChecked();
}

std::int32_t ConfigurationEditor::integer(std::string_view name) const
{
    return qobject_cast<SpinEdit*>(control(name))->value();
}

std::string ConfigurationEditor::picture() const
{
    return pictureFileName_;
}

} // namespace arcavio
