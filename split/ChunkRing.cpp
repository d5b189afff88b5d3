// ChunkRing: the buffers that a split reads its chunks into, and who computes their digests.
#include "split/ChunkRing.h"

namespace {

// Chunks in the ring: under 3 MB of buffers (32 of 91,104 bytes) whatever the
// file's size, and enough for the worker to fall a piece of the preset behind
// (16 chunks) without stopping the copy.
constexpr int RingLength = 32;
// The worker takes a piece's digest once it has no more than this many chunks
// left to hash. It keeps that much work queued when the caller hands it the
// piece, so that it does not run dry while the copy goes on.
constexpr int HandOverChunks = 8;

bool wantsWorker(SplitOptions::Worker worker)
{
    switch (worker) {
    case SplitOptions::Worker::Always: return true;
    case SplitOptions::Worker::Never: return false;
    case SplitOptions::Worker::WhereTwoProcessors: break;
    }
    return WorkerThread::processorCount() > 1;
}

bool wantsPieceWorker(const SplitOptions& options)
{
    // With the SHA instructions one thread computes both digests in the time
    // of one, their rounds interleaved: a third thread gains nothing, and
    // costs half the speed where it has no processor of its own (measured).
    const Sha256::Engine engine = options.sha256 == Sha256::Engine::Fastest ? Sha256::fastest() : options.sha256;
    if (engine == Sha256::Engine::ShaInstructions && Sha256::runs(engine))
        return false;
    switch (options.pieceWorker) {
    case SplitOptions::PieceWorker::Always: return true;
    case SplitOptions::PieceWorker::Never: return false;
    case SplitOptions::PieceWorker::WhereThreeProcessors: break;
    }
    return WorkerThread::processorCount() > 2;
}

} // namespace

ChunkRing::ChunkRing(std::int32_t chunkSize, int pieceCount, const SplitOptions& options)
    : m_engine(options.sha256), m_free(RingLength), m_filled(0), m_pieceFree(RingLength), m_pieceFilled(0),
      m_piece(options.sha256), m_file(options.sha256), m_workerPiece(options.sha256),
      m_pieceDigests(static_cast<std::size_t>(pieceCount))
{
    const bool wanted = wantsWorker(options.worker) && m_free.usable() && m_filled.usable();
    m_jobs.resize(wanted ? RingLength : 1);
    for (Job& job : m_jobs)
        job.bytes.resize(static_cast<std::size_t>(chunkSize));
    // Set before any job is handed: each worker reads it only after taking one.
    m_piecesApart = wanted && wantsPieceWorker(options) && m_pieceFree.usable() && m_pieceFilled.usable() &&
        m_pieceWorker.start(workOnPieces, this);
    m_working = wanted && m_worker.start(work, this);
    if (!m_working) {
        stopPieceWorker();
        m_jobs.resize(1);
    }
    m_handOverLag = static_cast<std::uint32_t>(HandOverChunks) * static_cast<std::uint32_t>(chunkSize);
}

ChunkRing::~ChunkRing()
{
    stopWorker();
}

char* ChunkRing::nextBuffer()
{
    return claim().bytes.data();
}

void ChunkRing::hashChunk(std::size_t size)
{
    Job& job = claim();
    if (!m_working) {
        m_holding = false;
        Sha256::addToBoth(m_piece, m_file, job.bytes.data(), size);
        return;
    }
    job.size = size;
    const std::uint32_t lag = m_bytesHanded - m_bytesHashed.load(std::memory_order_relaxed);
    job.takesPiece = hashesPieceItself() && lag <= m_handOverLag;
    if (job.takesPiece) {
        job.piece = m_piece;
        m_piece = Sha256(m_engine);
        m_pieceWithWorker = true;
    }
    job.withPiece = m_pieceWithWorker;
    job.endsPiece = -1;
    job.stops = false;
    hand(job);
    // The worker reads the chunk meanwhile; nothing writes it before the next claim.
    if (hashesPieceItself())
        m_piece.add(job.bytes.data(), size);
}

void ChunkRing::endPiece()
{
    const int number = m_piecesEnded++;
    if (hashesPieceItself()) {
        m_pieceDigests[static_cast<std::size_t>(number)] = m_piece.finish();
        return;
    }
    Job& job = claim();
    job.size = 0;
    job.takesPiece = false;
    job.withPiece = false;
    job.endsPiece = number;
    job.stops = false;
    hand(job);
    m_pieceWithWorker = false;
}

SplitDigests ChunkRing::finish()
{
    stopWorker();
    SplitDigests digests;
    digests.pieces.assign(m_pieceDigests.begin(), m_pieceDigests.begin() + m_piecesEnded);
    digests.file = m_file.finish();
    return digests;
}

void ChunkRing::work(void* ring)
{
    static_cast<ChunkRing*>(ring)->work();
}

void ChunkRing::work()
{
    for (std::size_t tail = 0;; tail = (tail + 1) % m_jobs.size()) {
        m_filled.wait();
        const Job& job = m_jobs[tail];
        if (job.stops)
            return;
        if (job.takesPiece)
            m_workerPiece = job.piece;
        if (job.withPiece)
            Sha256::addToBoth(m_workerPiece, m_file, job.bytes.data(), job.size);
        else
            m_file.add(job.bytes.data(), job.size);
        if (job.endsPiece >= 0 && !m_piecesApart)
            m_pieceDigests[static_cast<std::size_t>(job.endsPiece)] = m_workerPiece.finish();
        m_bytesHashed.fetch_add(static_cast<std::uint32_t>(job.size), std::memory_order_relaxed);
        m_free.post();
    }
}

void ChunkRing::workOnPieces(void* ring)
{
    static_cast<ChunkRing*>(ring)->workOnPieces();
}

void ChunkRing::workOnPieces()
{
    for (std::size_t tail = 0;; tail = (tail + 1) % m_jobs.size()) {
        m_pieceFilled.wait();
        const Job& job = m_jobs[tail];
        if (job.stops)
            return;
        m_workerPiece.add(job.bytes.data(), job.size);
        if (job.endsPiece >= 0)
            m_pieceDigests[static_cast<std::size_t>(job.endsPiece)] = m_workerPiece.finish();
        m_pieceFree.post();
    }
}

// The job at m_head, waiting for the workers to be done with it first.
ChunkRing::Job& ChunkRing::claim()
{
    if (!m_holding && m_working) {
        m_free.wait();
        if (m_piecesApart)
            m_pieceFree.wait();
    }
    m_holding = true;
    return m_jobs[m_head];
}

// Gives the claimed job to the workers.
void ChunkRing::hand(Job& job)
{
    m_holding = false;
    m_bytesHanded += static_cast<std::uint32_t>(job.size);
    m_head = (m_head + 1) % m_jobs.size();
    m_filled.post();
    if (m_piecesApart)
        m_pieceFilled.post();
}

void ChunkRing::stopWorker()
{
    if (!m_working)
        return;
    // Whatever is queued is hashed first: at most the ring, a few milliseconds.
    Job& job = claim();
    job.stops = true;
    hand(job);
    m_worker.join();
    m_pieceWorker.join();
    m_working = false;
    m_piecesApart = false;
}

// Stops the pieces' worker before any job was handed: the first worker did not start.
void ChunkRing::stopPieceWorker()
{
    if (!m_piecesApart)
        return;
    m_jobs[0].stops = true;
    m_pieceFilled.post();
    m_pieceWorker.join();
    m_jobs[0].stops = false;
    m_piecesApart = false;
}
