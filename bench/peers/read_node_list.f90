! read_node_list: reads a field map in the node-list layout with plain list-directed reads, one
! READ per node, and nothing else. The time to beat for a whole run of the viewer.
!
!   read_node_list FILE
!
! Lines: kind (0 E, 1 B, 2 both) / the three mirror flags / lo hi count for x, y and z / then
! one node per line, z fastest and x slowest, with 3 values (kind 0 or 1) or 6 (kind 2).
program read_node_list
  implicit none
  integer, parameter :: nx = 25, ny = 25, nz = 201
  double precision :: xlo, xhi, ylo, yhi, zlo, zhi
  double precision, allocatable :: field(:,:,:,:)
  integer :: kind, ksym(3), nx_in, ny_in, nz_in, ncomp, i, j, k, u
  character(len=4096) :: name

  call get_command_argument(1, name)
  open(newunit=u, file=trim(name), status='old', action='read')
  read(u, *) kind
  read(u, *) ksym
  read(u, *) xlo, xhi, nx_in
  read(u, *) ylo, yhi, ny_in
  read(u, *) zlo, zhi, nz_in
  if (nx_in /= nx .or. ny_in /= ny .or. nz_in /= nz) stop ' node counts are not 25, 25, 201'
  ncomp = 3
  if (kind == 2) ncomp = 6
  allocate(field(ncomp, nx, ny, nz))
  do i = 1, nx
     do j = 1, ny
        do k = 1, nz
           read(u, *) field(:, i, j, k)
        end do
     end do
  end do
  close(u)
  print '(a, i0, a, es24.15)', ' components read: ', ncomp, ', sum of the last: ', &
       sum(field(ncomp, :, :, :))
end program read_node_list
