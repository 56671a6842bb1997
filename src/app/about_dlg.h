#pragma once
// The About box: product name and version, legal notice and special-build
// note, all read from the program's version record, and where the settings
// file is.

#include "app/project_rc_version.h"

#include <QDialog>

#include <optional>

class QLabel;

class AboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit AboutDlg(QWidget* parent);  // this build's record
    // A dialog over another record (nullopt: no record at all).
    AboutDlg(QWidget* parent, std::optional<VersionRecord> record);

    QLabel* VersionField() const { return version_; }
    QLabel* LegalField() const { return legal_; }
    QLabel* SpecialBuildField() const { return special_; }
    QLabel* SettingsFileField() const { return settings_; }

private:
    void Fill(const ProjectRCVersion& reader);

    QLabel* version_;
    QLabel* legal_;
    QLabel* special_;
    QLabel* settings_;
};
