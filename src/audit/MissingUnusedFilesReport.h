#pragma once

namespace orv {

struct AuditLists;
struct ReportContext;

// Report kind 0: the collection pass that fills the audit lists from every
// record and both media folders, then the report of the four lists with the
// summary and the disk space the unused files take. Sets FilesReportRan.
void MissingUnusedFilesReport(ReportContext& ctx, AuditLists& lists);

// The collection pass alone, for callers that want the lists and not the
// report text (JSON, check). The data files must be open.
void CollectResourceFiles(ReportContext& ctx, AuditLists& lists);

} // namespace orv
