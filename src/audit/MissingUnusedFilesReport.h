#pragma once

namespace orv {

struct FilesAudit;
struct ReportContext;
class ReportText;

// Report kind 0: the collection pass (see AuditProjectFiles), then the report
// of the four lists with the summary and the disk space the unused files
// take. Sets FilesReportRan; the audit is left in `audit` for the files
// manager.
void MissingUnusedFilesReport(ReportContext& ctx, FilesAudit& audit);

// The report body for an audit, opening to closing.
void WriteMissingUnusedFilesReport(ReportText& text, const FilesAudit& audit);

} // namespace orv
