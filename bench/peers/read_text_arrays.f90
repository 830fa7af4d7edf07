! read_text_arrays: reads a field map in the text-array layout with plain list-directed reads,
! one READ per group, and nothing else. The time to beat for a whole run of the viewer.
!
!   read_text_arrays FILE
!
! Groups: d_elm aper n_cell / the three mirror flags / 25 x / 25 y / 201 z / then the component
! arrays of 125,625 values each: six when n_cell > 0 or the name holds MW, three otherwise.
program read_text_arrays
  implicit none
  integer, parameter :: nx = 25, ny = 25, nz = 201
  double precision :: d_elm, aper
  double precision :: xmws(nx), ymws(ny), zmws(nz)
  double precision, allocatable :: field(:,:,:,:)
  integer :: n_cell, ksym(3), ncomp, c, u
  character(len=4096) :: name

  call get_command_argument(1, name)
  open(newunit=u, file=trim(name), status='old', action='read')
  read(u, *) d_elm, aper, n_cell
  read(u, *) ksym
  read(u, *) xmws
  read(u, *) ymws
  read(u, *) zmws
  ncomp = 3
  if (n_cell > 0 .or. index(name, 'MW') > 0) ncomp = 6
  allocate(field(nx, ny, nz, ncomp))
  do c = 1, ncomp
     read(u, *) field(:, :, :, c)
  end do
  close(u)
  print '(a, i0, a, es24.15)', ' components read: ', ncomp, ', sum of the last: ', &
       sum(field(:, :, :, ncomp))
end program read_text_arrays
