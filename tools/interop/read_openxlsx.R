# Reads a workbook with openxlsx (Debian r-cran-openxlsx) as people script
# it: read.xlsx of every sheet, no heading row, empty rows and columns kept;
# prints the values (a column of numbers and texts comes as text).
#   Rscript read_openxlsx.R FILE
args <- commandArgs(trailingOnly = FALSE)
here <- dirname(sub("^--file=", "", args[grep("^--file=", args)]))
source(file.path(here, "reading.R"))
suppressMessages(library(openxlsx))
path <- commandArgs(trailingOnly = TRUE)[1]
emit("reader", "openxlsx", as.character(packageVersion("openxlsx")))
emit("reads", "values")
for (sheet in getSheetNames(path)) {
  emit("sheet", escape(sheet))
  frame <- suppressWarnings(read.xlsx(path, sheet = sheet, colNames = FALSE,
                                      skipEmptyRows = FALSE, skipEmptyCols = FALSE))
  if (is.null(frame)) next
  for (col in seq_len(ncol(frame))) {
    values <- frame[[col]]
    keep <- !is.na(values)
    if (is.numeric(values)) {
      emit_cells(col, which(keep), "n", number_text(values[keep]))
    } else {
      values <- as.character(values)
      keep <- keep & values != ""
      emit_cells(col, which(keep), "?", values[keep])
    }
  }
}
