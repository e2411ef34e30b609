// The two area-averaging passes as row kernels, shared by the whole-picture
// passes and by the passes over rows streaming out of a decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantilo {

// Where each output cell starts in the input, in whole pixels plus 1/256
// steps, and the divisor that turns a cell's sum back into a byte.
struct CellTable {
  std::vector<int> pos;
  std::vector<int> frac;
  int scale = 0;
  // Sum to output byte; a table since the sums of one pass are small.
  std::vector<std::uint8_t> divide;
};

// Tables for n input samples into m output samples (needs 64-bit x87
// precision, which it sets itself); false when the cells do not tile the
// input.
bool BuildCellTable(int n, int m, CellTable& t);

// True when every cell starts in a later pixel than the one before, as in
// every shrink and the identity.
bool Shrinks(const CellTable& t);

// The horizontal pass over single rows of n pixels into m (a shrink).
class RowShrinker {
 public:
  bool Init(int n, int m);
  // Scratch words that Row needs, one buffer per thread.
  std::size_t ScratchSize() const { return 3 * (static_cast<std::size_t>(n_) + 1); }
  void Row(const std::uint8_t* in, std::uint8_t* out, std::uint32_t* scratch) const;
  int InputWidth() const { return n_; }
  int OutputWidth() const { return m_; }

 private:
  void NarrowCells(const std::uint8_t* in, std::uint8_t* out) const;

  int n_ = 0, m_ = 0;
  CellTable t_;
  std::vector<int> first_, whole_, end_, tail_;  // byte indices per cell
  // Cells of at most five pixels (shrinks by less than four) are summed
  // sixteen bytes at a time, with a weight per byte; the last cells, whose
  // sixteen bytes would reach past the row, one by one.
  bool narrow_ = false;
  int vectorCells_ = 0;
  std::vector<std::uint16_t> weights_;  // 16 per cell
};

// The vertical pass as rows arrive: each input row is added into the output
// row(s) whose cells it lies in, and a finished output row is handed out.
class ColumnShrinker {
 public:
  // Rows of `bytes` samples, n input rows into m output rows (a shrink).
  bool Init(int n, int m, std::size_t bytes);
  // The next input row (top to bottom). Returns the number of output rows
  // it completed (0, 1 or 2) and writes them to out(r) for row r.
  template <class OutRow>
  int Push(const std::uint8_t* row, OutRow out);
  int Completed() const { return r_; }

 private:
  void Start(const std::uint8_t* row, std::uint32_t weight);
  void Add(const std::uint8_t* row);
  void AddPart(const std::uint8_t* row, std::uint32_t weight);
  void Emit(std::uint8_t* out) const;

  int n_ = 0, m_ = 0, k_ = 0, r_ = 0;
  std::size_t bytes_ = 0;
  CellTable t_;
  std::vector<std::uint32_t> acc_;
};

template <class OutRow>
int ColumnShrinker::Push(const std::uint8_t* row, OutRow out) {
  const int k = k_++;
  int done = 0;
  if (r_ >= m_) return 0;
  if (k == t_.pos[r_]) {
    Start(row, 256 - t_.frac[r_]);
  } else if (k < t_.pos[r_ + 1]) {
    Add(row);
  } else {  // the last, partial pixel of the cell: it also starts the next
    AddPart(row, t_.frac[r_ + 1]);
    Emit(out(r_));
    ++r_;
    ++done;
    if (r_ < m_ && k == t_.pos[r_]) Start(row, 256 - t_.frac[r_]);
  }
  // A cell that ends exactly at a pixel boundary is complete already.
  while (r_ < m_ && t_.frac[r_ + 1] == 0 && k == t_.pos[r_ + 1] - 1) {
    Emit(out(r_));
    ++r_;
    ++done;
  }
  return done;
}

}  // namespace vantilo
